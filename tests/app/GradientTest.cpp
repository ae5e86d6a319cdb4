#include "app/gradient.h"

#include <gtest/gtest.h>

TEST(Gradient, ScaleColorRoundsTiesToEvenAndCaps)
{
    EXPECT_EQ(ScaleColor(QColor(5, 7, 255), 0.5), QColor(2, 4, 128)); // 2.5 -> 2, 3.5 -> 4, 127.5 -> 128
    EXPECT_EQ(ScaleColor(QColor(255, 100, 1), 0.65), QColor(166, 65, 1)); // 165.75, 65.0, 0.65
    EXPECT_EQ(ScaleColor(QColor(200, 10, 0), 1.5), QColor(255, 15, 0));
    EXPECT_EQ(ScaleColor(QColor(200, 10, 0), -0.1), QColor(0, 0, 0));
    EXPECT_EQ(ScaleColor(QColor(200, 10, 3), 0), QColor(0, 0, 0));
}

TEST(Gradient, GradientColorInterpolatesAndHandlesReversedAndDegenerateRanges)
{
    const QColor white(255, 255, 255), black(0, 0, 0), red(255, 0, 0), blue(0, 0, 255);
    EXPECT_EQ(GradientColor(black, white, 0, 0, 10), black);
    EXPECT_EQ(GradientColor(black, white, 10, 0, 10), white);
    EXPECT_EQ(GradientColor(black, white, 5, 0, 10), QColor(128, 128, 128)); // 127.5 rounds to even 128
    EXPECT_EQ(GradientColor(black, QColor(1, 3, 5), 1, 0, 2), QColor(0, 2, 2)); // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2
    // b before a: the ends swap along with the positions.
    EXPECT_EQ(GradientColor(red, blue, 2, 10, 0), QColor(51, 0, 204));
    EXPECT_EQ(GradientColor(red, blue, -1, 10, 0), blue);
    EXPECT_EQ(GradientColor(red, blue, 11, 10, 0), red);
    EXPECT_EQ(GradientColor(red, blue, 4, 4, 4), red);
    EXPECT_EQ(GradientColor(red, blue, 3, 4, 4), red);
    EXPECT_EQ(GradientColor(red, blue, 5, 4, 4), blue);
}
