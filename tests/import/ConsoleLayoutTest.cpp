#include "import/ConsoleLayout.h"
#include "model/BlockCatalogue.h"
#include <gtest/gtest.h>

using z5::ConsoleLayout;
using z5::Project;

TEST(ConsoleLayout, SlotCornersOfEachQuarter) {
    const std::pair<int, QPoint> rows[] = {
        {0, {900, 200}},     {3, {3000, 200}},    {4, {200, 900}},     {8, {3000, 900}},
        {9, {200, 1600}},    {23, {3000, 3000}},  {24, {3900, 200}},   {29, {3900, 900}},
        {48, {6700, 3000}},  {49, {200, 3820}},   {73, {3000, 6620}},  {74, {3900, 3820}},
        {98, {6700, 6620}},  {99, {3900, 7320}},
    };
    for (const auto &[column, corner] : rows) EXPECT_EQ(ConsoleLayout::slotPosition(column), corner) << column;
}

TEST(ConsoleLayout, LabelsBesideTheSlots) {
    EXPECT_EQ(ConsoleLayout::slotNumberText(0), "01");
    EXPECT_EQ(ConsoleLayout::slotNumberText(98), "99");
    EXPECT_EQ(ConsoleLayout::slotNumberPosition(0, false), QPoint(1000, 370));
    EXPECT_EQ(ConsoleLayout::slotNumberPosition(49, false), QPoint(300, 3990));
    EXPECT_EQ(ConsoleLayout::slotNumberPosition(49, true), QPoint(300, 3995));
    EXPECT_EQ(ConsoleLayout::priorityPosition(0), QPoint(1000, 30));
    EXPECT_EQ(ConsoleLayout::priorityPosition(74), QPoint(4000, 3655));
    EXPECT_EQ(ConsoleLayout::priorityText(7), "07");
    EXPECT_EQ(ConsoleLayout::priorityText(42), "42");
    EXPECT_EQ(ConsoleLayout::priorityHeadingText(), "00");
    EXPECT_EQ(ConsoleLayout::priorityHeadingPosition(), QPoint(330, 1));
}

TEST(ConsoleLayout, IconNumbers) {
    EXPECT_EQ(ConsoleLayout::iconNumber(z5::BlockType::A_I, 1), 0);
    EXPECT_EQ(ConsoleLayout::iconNumber(z5::BlockType::UNI, 1), 32);
    EXPECT_EQ(ConsoleLayout::iconNumber(z5::BlockType::A_I, 2), 33);
    EXPECT_EQ(ConsoleLayout::iconNumber(z5::BlockType::UNI, 12), 395);
    EXPECT_EQ(ConsoleLayout::iconNumber(z5::BlockType::INV, 1), -1);
    EXPECT_EQ(ConsoleLayout::iconNumber(z5::BlockType::MUL, 0), -1);
}

TEST(ConsoleLayout, OneIconPerBlock) {
    Project p;
    p.setSchema(Project::TypeRow, 60, z5::BlockType::PID);
    p.setSchema(Project::InstanceRow, 60, 3);
    p.setSchema(Project::PriorityRow, 60, 9);
    const ConsoleLayout layout = ConsoleLayout::fromProject(p);
    ASSERT_EQ(layout.icons().size(), 1u);
    const auto &icon = layout.icons()[0];
    EXPECT_EQ(icon.column, 60);
    EXPECT_EQ(icon.iconNumber, 16 + 66);
    EXPECT_EQ(icon.position, QPoint(900, 5220));
    EXPECT_EQ(icon.priorityText, "09");
    EXPECT_EQ(icon.priorityPosition, QPoint(1000, 5055));
    EXPECT_EQ(layout.iconOf(61), nullptr);
}
