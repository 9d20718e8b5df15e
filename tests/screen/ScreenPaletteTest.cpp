#include "screen/ScreenPalette.h"
#include <gtest/gtest.h>

using z5::ScreenPalette;

TEST(ScreenPalette, IndexBitsAreRedGreenBlue) {
    const QRgb expected[8] = {qRgb(0, 0, 0),   qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                              qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ScreenPalette::colour(i), expected[i]) << i;
        EXPECT_EQ(ScreenPalette::reduce(expected[i], 120), i) << i;
    }
    EXPECT_EQ(ScreenPalette::colour(8), qRgb(0, 0, 0));
    EXPECT_EQ(ScreenPalette::colour(-1), qRgb(0, 0, 0));
}

TEST(ScreenPalette, ThresholdIsStrict) {
    EXPECT_EQ(ScreenPalette::reduce(120, 120, 120, 120), 0);
    EXPECT_EQ(ScreenPalette::reduce(121, 120, 120, 120), 1);
    EXPECT_EQ(ScreenPalette::reduce(120, 121, 120, 120), 2);
    EXPECT_EQ(ScreenPalette::reduce(120, 120, 121, 120), 4);
    EXPECT_EQ(ScreenPalette::reduce(121, 121, 121, 121), 0);
    EXPECT_EQ(ScreenPalette::reduce(255, 255, 255, 255), 0);
    EXPECT_EQ(ScreenPalette::reduce(1, 0, 1, 0), 5);
}
