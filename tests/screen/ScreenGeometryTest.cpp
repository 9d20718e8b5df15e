#include "screen/ScreenGeometry.h"
#include <gtest/gtest.h>

using z5::ScreenGeometry;

namespace {
struct Edge {
    int kind;
    int left;
    int x;
};
} // namespace

TEST(ScreenGeometry, ParameterColumnsAndTheirLimits) {
    const Edge rows[] = {
        {0, 419, 500}, {0, 420, 1},    {0, 449, 1},   {0, 450, 2},   {0, 9839, 314}, {0, 9840, 500},
        {1, 420, 0},   {1, 10399, 332}, {1, 10400, 500}, {2, 10399, 332}, {2, 10400, 500},
        {3, 420, 20},  {3, 9299, 315}, {3, 9300, 500}, {3, 12000, 500}, {4, 420, 500},  {-1, 420, 500},
    };
    for (const Edge &e : rows) EXPECT_EQ(ScreenGeometry::parameterX(e.kind, e.left), e.x) << e.kind << " at " << e.left;
}

TEST(ScreenGeometry, ParameterRowsAndTheirLimits) {
    EXPECT_EQ(ScreenGeometry::parameterY(0, 269), 500);
    EXPECT_EQ(ScreenGeometry::parameterY(0, 270), 0);
    EXPECT_EQ(ScreenGeometry::parameterY(0, 7739), 248);
    EXPECT_EQ(ScreenGeometry::parameterY(0, 7740), 500);
    EXPECT_EQ(ScreenGeometry::parameterY(1, 270), 27);
    EXPECT_EQ(ScreenGeometry::parameterY(2, 270), 58);
    EXPECT_EQ(ScreenGeometry::parameterY(3, 300), 21);
    EXPECT_EQ(ScreenGeometry::parameterY(4, 300), 500);
}

TEST(ScreenGeometry, AlarmLimits) {
    EXPECT_EQ(ScreenGeometry::alarmX(420), 0);
    EXPECT_EQ(ScreenGeometry::alarmX(10299), 329);
    EXPECT_EQ(ScreenGeometry::alarmX(10300), 500);
    EXPECT_EQ(ScreenGeometry::alarmX(0), 500);
    EXPECT_EQ(ScreenGeometry::alarmY(7739), 248);
    EXPECT_EQ(ScreenGeometry::alarmY(7740), 500);
}

TEST(ScreenGeometry, RestoredPositionsGiveBackTheSamePixels) {
    for (int kind = 0; kind < 4; ++kind) {
        for (int x = 0; x < 320; ++x) {
            const int left = ScreenGeometry::parameterLeft(kind, x);
            const int back = ScreenGeometry::parameterX(kind, left);
            if (back != 500) {
                EXPECT_EQ(back, x) << kind;
            }
        }
        for (int y = 0; y < 256; ++y) {
            const int top = ScreenGeometry::parameterTop(kind, y);
            const int back = ScreenGeometry::parameterY(kind, top);
            if (back != 500) {
                EXPECT_EQ(back, y) << kind;
            }
        }
    }
    EXPECT_EQ(ScreenGeometry::parameterLeft(0, 10), 690);    // 30X + 390
    EXPECT_EQ(ScreenGeometry::parameterTop(0, 10), 570);     // 30Y + 270
    EXPECT_EQ(ScreenGeometry::parameterLeft(3, 30), 720);    // 30(X - 20) + 420
    EXPECT_EQ(ScreenGeometry::parameterTop(2, 60), 330);     // 30(Y - 58) + 270
    EXPECT_EQ(ScreenGeometry::alarmLeft(10), 720);
    EXPECT_EQ(ScreenGeometry::alarmTop(20), 870);
    // Words from a file may be anything; far stays far and off the preview.
    EXPECT_EQ(ScreenGeometry::parameterX(0, ScreenGeometry::parameterLeft(0, 2147483647)), 500);
    EXPECT_EQ(ScreenGeometry::alarmX(ScreenGeometry::alarmLeft(-2147483647 - 1)), 500);
}
