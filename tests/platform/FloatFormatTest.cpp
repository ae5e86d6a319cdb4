#include "platform/FloatFormat.h"

#include <gtest/gtest.h>

TEST(FloatFormat, GeneralFormMatchesTheExportFiles)
{
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {12.5, "12.5"},         {3, "3"},
        {0.1 + 0.2, "0.3"},     {0.000001, "1E-6"},
        {1234567.891, "1234567.891"}, {2.675, "2.675"},
        {100, "100"},           {-12.5, "-12.5"},
        {0.25, "0.25"},         {0, "0"},
        {0.00001, "0.00001"},   {0.0000123, "0.0000123"}, {0.00000123, "1.23E-6"},
        {123456789012345.0, "123456789012345"}, {1234567890123456.0, "1.23456789012346E15"},
        {1e20, "1E20"},         {-0.5, "-0.5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(generalFloatText(c.value).toStdString(), c.text) << c.value;
}

TEST(FloatFormat, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(generalFloatText(12.5, QLatin1Char(',')), QStringLiteral("12,5"));
    EXPECT_EQ(generalFloatText(1.5e-7, QLatin1Char(',')), QStringLiteral("1,5E-7"));
}
