#include "model/Project.h"
#include <gtest/gtest.h>

using z5::Project;

TEST(Project, PriorityOrderRowClearsColumnZero) {
    Project p;
    p.setSchema(Project::TypeRow, 0, 1);
    p.setSchema(Project::PriorityRow, 0, 5);   // U1 is skipped by the rebuild
    p.setSchema(Project::TypeRow, 4, 6);
    p.setSchema(Project::PriorityRow, 4, 2);
    p.rebuildPriorityOrder();
    EXPECT_EQ(p.schema(Project::OrderRow, 2), 4);
    EXPECT_EQ(p.schema(Project::OrderRow, 5), 0);
    EXPECT_EQ(p.schema(Project::OrderRow, 0), 0);
}

TEST(Project, OutOfRangeAccessIsIgnored) {
    Project p;
    p.setSchema(5, 0, 9);
    p.setSchema(0, 100, 9);
    p.setLink(100, 0, 3);
    p.setLink(0, 16, 3);
    p.setScadaLink(8, 0, 3);
    p.setTrendLink(65, 3);
    p.setJournalLink(-1, 3);
    p.setInstanceCounter(37, 3);
    EXPECT_TRUE(p == Project());
    EXPECT_EQ(p.schema(-1, 0), 0);
    EXPECT_EQ(p.link(0, 99), 0);
}

TEST(Project, JournalMaskLandsInTheLinkTableLowestByteFirst) {
    Project p;
    p.setJournalInvertMask(static_cast<std::int32_t>(0x80000102u));
    EXPECT_EQ(p.journalLink(64), 0x02);
    EXPECT_EQ(p.journalLink(65), 0x01);
    EXPECT_EQ(p.journalLink(66), 0x00);
    EXPECT_EQ(p.journalLink(67), 0x80);
}

TEST(Project, ResetEmptiesEverything) {
    Project p;
    p.setSchema(Project::TypeRow, 3, 2);
    p.components()[0].designator = "U4";
    p.setScadaLink(7, 67, 1);
    EXPECT_FALSE(p.isEmpty());
    p.reset();
    EXPECT_TRUE(p.isEmpty());
    EXPECT_TRUE(p == Project());
    EXPECT_EQ(p.components()[0].designator, "0");
}
