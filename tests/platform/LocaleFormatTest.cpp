#include "platform/LocaleFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(LocaleFormat, PatternsInAnEnglishLocale)
{
    // The names come from the system locale; the test runs in an English one.
    if (QLocale::system().dayName(5) != "Friday" || QLocale::system().decimalPoint() != ".")
        GTEST_SKIP() << "needs an English system locale";
    EXPECT_EQ(longDateText(QDate(2026, 12, 11)), "Friday, December 11, 2026");
    EXPECT_EQ(stampText(QDateTime(QDate(2026, 3, 5), QTime(9, 7))), "March 5, 2026 - 09:07");
    const struct {
        double value;
        const char *text;
    } sums[] = {{0, "0.00"},          {2.675, "2.68"},   {-1.005, "-1.01"}, {1234567.5, "1234567.50"},
                {0.004, "0.00"},      {-0.004, "0.00"},  {99.995, "100.00"}, {1e-9, "0.00"},
                {1e17, "100000000000000000.00"}};
    for (const auto &s : sums)
        EXPECT_EQ(sumText(s.value), s.text) << s.value;
    const QString text = defaultDateTimeText(QDateTime(QDate(2026, 12, 11), QTime(14, 5, 9)));
    EXPECT_TRUE(text.contains("14:05:09")) << text.toStdString();
    EXPECT_TRUE(text.contains("2026") || text.contains("26")) << text.toStdString();
}
