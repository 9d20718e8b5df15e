#include "WriteTestKit.h"
#include "download/DownloadChain.h"
#include "download/ScreenWrite.h"
#include "download/SetpointWrite.h"
#include "link/FakeSerialPort.h"
#include "link/EditFields.h"
#include "link/Link.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <QImage>
#include <gtest/gtest.h>

using namespace z5;
using z5::testing::ChainRig;
using z5::testing::EventLog;
using z5::testing::PatternTables;
using z5::testing::tableHeader;

namespace {

using WriteRig = z5::testing::WritesRig;

QImage onePicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 0, 0));
    return image;
}

} // namespace

TEST(SetpointWrite, HeaderCarriesTheBlockAndDataFollowsAfter200ms) {
    WriteRig r;
    EXPECT_TRUE(r.setpoints.writeSetpoints(7));
    r.clock.advance(1000);
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].atMs, 0);
    EXPECT_EQ(w[0].bytes.toHex(' '), tableHeader(1, Table::Setpoints, 7).toHex(' '));
    EXPECT_EQ(w[0].bytes.at(5), 0x07);
    EXPECT_EQ(w[1].atMs, 200);
    EXPECT_EQ(w[1].bytes, r.tables.data(Table::Setpoints));
    EXPECT_TRUE(r.port.isOpen());
    EXPECT_EQ(r.port.closeCount(), 0);
    EXPECT_EQ(r.log.lines, (QStringList{"0 header 12", "200 data 12 32", "200 finished"}));
    EXPECT_FALSE(r.line.isBusy());
    EXPECT_TRUE(r.lastWrite().succeeded());
}

TEST(SetpointWrite, RefusedBlocksAndValuesSendNothing) {
    WriteRig r;
    EXPECT_EQ(r.setpoints.writeSetpoints(3).refusal.problem, "no setpoint programmer");
    r.tables.setpointProblem = QStringLiteral("Ошибка параметра");
    const WriteStart start = r.setpoints.writeSetpoints(7);
    EXPECT_FALSE(start);
    r.clock.advance(1000);
    EXPECT_TRUE(r.port.writes().empty());
    EXPECT_EQ(r.port.openCount(), 0);
    EXPECT_EQ(start.refusal.problem, "Ошибка параметра");
    EXPECT_EQ(start.refusal.caption, "Ошибка");
    EXPECT_TRUE(r.prompts.messages.empty()) << "the front end shows the refusal";
}

TEST(SetpointWrite, ValueSpoiledBeforeTheTickSendsNoData) {
    WriteRig r;
    r.tables.setpointProblemAtTick = QStringLiteral("Ошибка параметра");
    r.setpoints.writeSetpoints(7);
    r.clock.advance(1000);
    EXPECT_EQ(r.port.writes().size(), 1u) << "the header only";
    EXPECT_EQ(r.log.only("refused"), QStringList{"200 refused 12"});
    EXPECT_EQ(r.log.only("finished"), QStringList{"200 finished"});
    EXPECT_EQ(r.lastWrite().outcome(), LineOutcome::Cancelled);
    EXPECT_EQ(r.lastWrite().failureText(), "Ошибка параметра");
    ASSERT_EQ(r.prompts.messages.size(), 1u) << "shown once, when refused";
    EXPECT_EQ(r.prompts.messages[0].kind, Prompts::Kind::Information);
    EXPECT_FALSE(r.line.isBusy());
}

// Writes queue behind each other and behind reads; none is dropped and each
// keeps its own offsets from its start.
TEST(SetpointWrite, WaitsBehindADownloadAndADownloadBehindIt) {
    WriteRig r;
    ASSERT_TRUE(r.chain.startDownload());
    ASSERT_TRUE(r.setpoints.writeSetpoints(7));
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(20000);
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 24u + 2u + 24u);
    EXPECT_EQ(w[24].atMs, 6200);
    EXPECT_EQ(w[24].bytes, tableHeader(1, Table::Setpoints, 7));
    EXPECT_EQ(w[25].atMs, 6400);
    EXPECT_EQ(w[26].atMs, 6400) << "the next download starts once the setpoints have left";
    EXPECT_EQ(r.log.only("finished"), (QStringList{"6200 finished", "6400 finished", "12600 finished"}));
}

TEST(SetpointWrite, WhileTheLineIsBusyNothingIsSetUntilItsTurn) {
    WriteRig r;
    r.port.silent = true;
    ASSERT_FALSE(r.line.enqueue(Request::blockRead(2))->isFinished());
    z5::testing::editFields(r.line, [&](z5::RequestFields &f) { f.table = tableNumber(Table::JournalLinks); });
    ASSERT_TRUE(r.setpoints.writeSetpoints(7));
    EXPECT_EQ(z5::LineSessionProbe::onLine(r.line).table, tableNumber(Table::JournalLinks));
    EXPECT_EQ(z5::LineSessionProbe::onLine(r.line).block, 2);
    EXPECT_EQ(r.port.writes().size(), 1u) << "the read's request alone";
    r.clock.advance(3000);
    ASSERT_EQ(r.port.writes().size(), 3u);
    EXPECT_EQ(r.port.writes()[1].bytes, tableHeader(1, Table::Setpoints, 7));
    EXPECT_EQ(r.port.writes()[2].atMs - r.port.writes()[1].atMs, 200);
}

// 500 ms after the command the screen header, 100 ms later the stream; the
// closing counts from the build, so the port closes at 6500 and table 11 follows.
TEST(ScreenWrite, ScheduleFromCommandToAlarmTexts) {
    WriteRig r;
    // What a download leaves behind must not make the screen data pass for table 11.
    z5::testing::editFields(r.line, [&](z5::RequestFields &f) { f.table = tableNumber(Table::AlarmTexts); });
    ASSERT_TRUE(r.screen.startScreenWrite(onePicture(320, 240)));
    r.clock.advance(8000);
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[0].atMs, 500);
    EXPECT_EQ(w[0].bytes.toHex(' '), "01 32 70 8b 00 00 e4 52");
    EXPECT_EQ(w[1].atMs, 600);
    ASSERT_EQ(w[1].bytes.size(), 2 + 28809);
    EXPECT_EQ(w[1].bytes.left(2).toHex(' '), "01 3c");
    EXPECT_EQ(w[2].atMs, 6600);
    EXPECT_EQ(w[2].bytes, tableHeader(1, Table::AlarmTexts));
    EXPECT_EQ(w[3].atMs, 6700);
    EXPECT_EQ(z5::LineSessionProbe::screenCheckedLength(r.line), 28680);
    EXPECT_EQ(r.log.only("designer"), (QStringList{"0 designer hidden", "6500 designer restored"}));
    EXPECT_EQ(r.log.only("window"), (QStringList{"600 window disabled", "6500 window enabled"}));
    EXPECT_EQ(r.log.only("port"), QStringList{"6500 port closed"});
    EXPECT_EQ(r.log.only("finished"), QStringList{"6700 finished"});
    EXPECT_FALSE(r.line.isBusy());
    EXPECT_TRUE(r.lastWrite().succeeded());
}

// The screen stream sent is the one the screen build gives for the same state.
TEST(ScreenWrite, SendsTheBuiltStream) {
    WriteRig r;
    ScreenModel copy = r.model;
    ScreenBuilder other;
    const QByteArray expected = other.build(copy, onePicture(320, 240)).stream;
    r.screen.startScreenWrite(onePicture(320, 240));
    r.clock.advance(600);
    ASSERT_EQ(r.port.writes().size(), 2u);
    EXPECT_EQ(r.port.writes()[1].bytes.mid(2), expected);
}

// A refused picture sends no screen, but the closing still gives the designer
// back and sends the alarm texts.
TEST(ScreenWrite, PictureTooWideSendsNoScreenButStillCloses) {
    WriteRig r;
    r.screen.startScreenWrite(onePicture(321, 240));
    r.clock.advance(8000);
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.prompts.messages[0].text, "Координата Х должна быть меньше 320");
    EXPECT_TRUE(r.log.only("header -1").isEmpty());
    ASSERT_EQ(r.port.writes().size(), 2u);
    EXPECT_EQ(r.port.writes()[0].atMs, 6600);
    EXPECT_EQ(r.log.only("designer").last(), "6500 designer restored");
    EXPECT_EQ(r.log.only("refused"), QStringList{"500 refused -1"});
    EXPECT_FALSE(r.lastWrite().succeeded());
    EXPECT_TRUE(r.lastWrite().failureWasReported()) << "not shown a second time at the end";
}

TEST(ScreenWrite, WaitsForADownloadToEnd) {
    WriteRig r;
    ASSERT_TRUE(r.chain.startDownload());
    ASSERT_TRUE(r.screen.startScreenWrite(onePicture(320, 240)));
    r.clock.advance(20000);
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 24u + 4u);
    EXPECT_EQ(w[24].atMs, 6200 + 500);
    EXPECT_EQ(w[24].bytes.toHex(' '), "01 32 70 8b 00 00 e4 52");
    EXPECT_EQ(r.log.only("designer"), (QStringList{"6000 designer restored", "6200 designer hidden", "12700 designer restored"}));
}
