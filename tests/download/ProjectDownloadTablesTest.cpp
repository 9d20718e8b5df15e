#include "download/ProjectDownloadTables.h"
#include "link/Link.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "screen/ScreenModel.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

struct Stores {
    Project project;
    ParameterStore store;
    ScreenModel screen;
    ProjectDownloadTables tables{project, store, &screen};

    // A setpoint programmer, instance 3, in column 7.
    Stores() {
        project.setSchema(Project::TypeRow, 7, BlockType::S_P);
        project.setSchema(Project::InstanceRow, 7, 3);
        project.setSchema(Project::TypeRow, 2, BlockType::PID);
        project.setSchema(Project::InstanceRow, 2, 1);
    }
};

} // namespace

// Each table is exactly what its header announces (tables 0 and 1 behind their "0").
TEST(ProjectDownloadTables, EveryTableHasItsDataCount) {
    Stores s;
    ASSERT_TRUE(s.tables.checkDownload().ok());
    for (int t = tableNumber(Table::Blocks); t <= tableNumber(Table::AlarmTexts); ++t) {
        const TableBuild b = s.tables.table(t);
        ASSERT_TRUE(b.ok()) << t;
        const bool behindZero = Table(t) == Table::Blocks || Table(t) == Table::Links;
        EXPECT_EQ(b.data.size(), Link::tableDataCount(t) + (behindZero ? 1 : 0)) << t;
    }
    EXPECT_EQ(s.tables.table(tableNumber(Table::Blocks)).data.mid(1, 8).toHex(' '), "00 00 11 00 00 00 00 10");
    // The setpoints are a write of their own, and no number beyond the tables is one.
    for (int t : {tableNumber(Table::Setpoints), wire::kTableCount, -1, 256})
        EXPECT_FALSE(s.tables.table(t).ok()) << t;
}

TEST(ProjectDownloadTables, AlarmTextsComeFromTheScreen) {
    Stores s;
    s.screen.setAlarmText(0, QStringLiteral("Авария"));
    const QByteArray t11 = s.tables.table(tableNumber(Table::AlarmTexts)).data;
    EXPECT_EQ(t11.left(10).toHex(' '), "c0 e2 e0 f0 e8 ff 20 20 20 20");
    ProjectDownloadTables blank(s.project, s.store);
    EXPECT_EQ(blank.table(tableNumber(Table::AlarmTexts)).data, QByteArray(320, ' '));
}

TEST(ProjectDownloadTables, ValueThatDoesNotFitIsNamedAndNotBuilt) {
    Stores s;
    s.store.numbersPID.setValue(0, 3, 3.0e7f);
    const TableBuild check = s.tables.checkDownload();
    ASSERT_FALSE(check.ok());
    EXPECT_TRUE(check.problem.startsWith("Ошибка параметра\nPID 1, «ТД 1»: 30000000")) << check.problem.toStdString();
    EXPECT_EQ(check.caption, "Ошибка");
    EXPECT_FALSE(s.tables.table(tableNumber(Table::Parameters)).ok());
    EXPECT_TRUE(s.tables.table(tableNumber(Table::Parameters)).data.isEmpty());
}

TEST(ProjectDownloadTables, SetpointsOfTheBlocksOwnInstance) {
    Stores s;
    s.store.numbersS_P.setValue(2, 0, 1.5f);
    s.store.numbersS_P.setValue(2, 7, -2.0f);
    s.store.numbersS_P.setValue(0, 0, 9.0f);
    EXPECT_EQ(s.tables.setpointSlot(7), 2);
    const TableBuild b = s.tables.setpoints(7);
    ASSERT_TRUE(b.ok());
    ASSERT_EQ(b.data.size(), 32);
    EXPECT_EQ(b.data.left(4).toHex(' '), "dc 05 00 00");
    EXPECT_EQ(b.data.right(4).toHex(' '), "d0 07 00 80");
}

TEST(ProjectDownloadTables, SetpointsOnlyForSetpointProgrammers) {
    Stores s;
    for (int block : {2, 5, -1, 100}) {
        EXPECT_EQ(s.tables.setpointSlot(block), -1) << block;
        EXPECT_FALSE(s.tables.checkSetpoints(block).ok()) << block;
        EXPECT_FALSE(s.tables.setpoints(block).ok()) << block;
    }
    s.store.numbersS_P.setValue(2, 4, -3.0e7f);
    EXPECT_FALSE(s.tables.checkSetpoints(7).ok());
    s.store.numbersS_P.setValue(2, 4, 0.0f);
    EXPECT_TRUE(s.tables.checkSetpoints(7).ok());
}
