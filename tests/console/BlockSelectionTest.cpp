// Which block an icon selects, from the icon's corner.
#include "console/BlockSelection.h"
#include "import/ConsoleLayout.h"
#include <gtest/gtest.h>

using z5::BlockSelection;
using z5::ConsoleLayout;

TEST(BlockSelection, EverySlotCornerSelectsItsOwnColumn) {
    for (int c = 0; c < 100; ++c) {
        const QPoint p = ConsoleLayout::slotPosition(c);
        EXPECT_EQ(BlockSelection::columnAt(p.x(), p.y()), c) << "column " << c << " at " << p.x() << ", " << p.y();
    }
}

TEST(BlockSelection, QuadrantExamples) {
    EXPECT_EQ(BlockSelection::columnAt(900, 200), 0);    // first slot, right of the process picture
    EXPECT_EQ(BlockSelection::columnAt(3900, 200), 24);  // first slot of the upper right quarter
    EXPECT_EQ(BlockSelection::columnAt(200, 3820), 49);  // first slot of the lower left quarter
    EXPECT_EQ(BlockSelection::columnAt(3900, 3820), 74);
    EXPECT_EQ(BlockSelection::columnAt(200, 900), 4);
}

TEST(BlockSelection, CornersOnTheQuadrantBordersSelectNothing) {
    EXPECT_FALSE(BlockSelection::columnAt(3675, 200));
    EXPECT_FALSE(BlockSelection::columnAt(200, 3615));
    EXPECT_FALSE(BlockSelection::columnAt(-15, 200));
    EXPECT_FALSE(BlockSelection::columnAt(20000, 20000));  // would be beyond column 99
}

TEST(BlockSelection, TypeAndInstanceOfAnIcon) {
    EXPECT_EQ(BlockSelection::typeOfIcon(0), 1);
    EXPECT_EQ(BlockSelection::typeOfIcon(32), 33);   // UNI
    EXPECT_EQ(BlockSelection::typeOfIcon(33), 1);    // A_I ...
    EXPECT_EQ(BlockSelection::instanceOfIcon(33), 2);  // ... instance 2
    EXPECT_EQ(BlockSelection::typeOfIcon(395), 33);
    EXPECT_EQ(BlockSelection::instanceOfIcon(395), 12);
    EXPECT_FALSE(BlockSelection::typeOfIcon(396));
    EXPECT_FALSE(BlockSelection::typeOfIcon(-1));
    EXPECT_FALSE(BlockSelection::instanceOfIcon(396));
}
