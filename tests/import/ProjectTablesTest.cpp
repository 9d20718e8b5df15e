#include "download/ProjectTables.h"
#include "link/WireSizes.h"
#include <gtest/gtest.h>

using z5::Project;
using z5::ProjectTables;
using z5::Table;

namespace {

int at(const QByteArray &data, int i) { return static_cast<unsigned char>(data.at(i)); }
QByteArray tableOf(Table table, const Project &p) { return ProjectTables::table(table, p); }

} // namespace

TEST(ProjectTables, SizesAndLeadingZeroCharacter) {
    const Project empty;
    EXPECT_EQ(tableOf(Table::Blocks, empty).size(), 501);
    EXPECT_EQ(tableOf(Table::Links, empty).size(), 1601);
    EXPECT_EQ(tableOf(Table::TrendLinks, empty).size(), 64);
    EXPECT_EQ(tableOf(Table::JournalLinks, empty).size(), 68);
    EXPECT_EQ(tableOf(Table::ScreenLinks, empty).size(), 544);
    EXPECT_TRUE(tableOf(Table::SetpointNames, empty).isEmpty());
    EXPECT_EQ(tableOf(Table::Blocks, empty).at(0), '0');
    EXPECT_EQ(tableOf(Table::Links, empty).at(0), '0');
}

TEST(ProjectTables, RowsFollowOneAnother) {
    Project p;
    p.setSchema(Project::TypeRow, 0, 1);
    p.setSchema(Project::InstanceRow, 0, 2);
    p.setSchema(Project::PriorityRow, 99, 3);
    p.setSchema(Project::OrderRow, 3, 99);
    p.setSchema(Project::InversionRow, 5, 0x80);
    p.setLink(7, 0, 4);
    p.setLink(7, 15, 200);
    p.setTrendLink(63, 9);
    p.setJournalInvertMask(0x01020304);
    p.setScadaLink(0, 67, 5);
    p.setScadaLink(1, 0, 6);
    p.setScadaLink(7, 67, 7);

    const QByteArray t0 = tableOf(Table::Blocks, p);
    EXPECT_EQ(at(t0, 1), 1);
    EXPECT_EQ(at(t0, 1 + 100), 2);
    EXPECT_EQ(at(t0, 1 + 200 + 99), 3);
    EXPECT_EQ(at(t0, 1 + 300 + 3), 99);
    EXPECT_EQ(at(t0, 1 + 400 + 5), 0x80);
    const QByteArray t1 = tableOf(Table::Links, p);
    EXPECT_EQ(at(t1, 1 + 7), 4);
    EXPECT_EQ(at(t1, 1 + 1500 + 7), 200);
    EXPECT_EQ(at(tableOf(Table::TrendLinks, p), 63), 9);
    const QByteArray t3 = tableOf(Table::JournalLinks, p);
    EXPECT_EQ(at(t3, 64), 0x04);
    EXPECT_EQ(at(t3, 67), 0x01);
    const QByteArray t4 = tableOf(Table::ScreenLinks, p);
    EXPECT_EQ(at(t4, 67), 5);
    EXPECT_EQ(at(t4, 68), 6);
    EXPECT_EQ(at(t4, 543), 7);
}
