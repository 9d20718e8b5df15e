#include "WriteTestKit.h"
#include "download/DownloadChain.h"
#include "link/FakeSerialPort.h"
#include "link/EditFields.h"
#include "link/Link.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>

using namespace z5;
using z5::testing::ChainRig;
using z5::testing::EventLog;
using z5::testing::PatternTables;
using z5::testing::tableHeader;

namespace {

struct Sent {
    std::int64_t at;
    QByteArray bytes;
};

} // namespace

// Headers at their offsets, each data block 100 ms after its header, table 11
// after the closing on a reopened port.
TEST(DownloadChainSchedule, EveryTableGoesOutAtItsOffset) {
    ChainRig r;
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(8000);

    const std::vector<std::pair<int, int>> headers = {{0, 0},     {1, 500},   {2, 1000}, {3, 1200},
                                                      {4, 1400},  {5, 1900},  {6, 2500}, {7, 3000},
                                                      {8, 3500},  {9, 4000},  {10, 4200}, {11, 6100}};
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), headers.size() * 2);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        const auto [table, at] = headers[i];
        SCOPED_TRACE(table);
        EXPECT_EQ(w[2 * i].atMs, at);
        EXPECT_EQ(w[2 * i].bytes.toHex(' '), tableHeader(1, table).toHex(' '));
        EXPECT_EQ(w[2 * i + 1].atMs, at + 100);
        EXPECT_EQ(w[2 * i + 1].bytes, r.tables.data(table));
    }
    EXPECT_EQ(r.port.closeCount(), 1);
    EXPECT_EQ(r.port.openCount(), 2);
    EXPECT_TRUE(r.port.isOpen()) << "the port stays open after the alarm texts";
    EXPECT_EQ(r.log.only("port"), QStringList{"6000 port closed"});
    EXPECT_EQ(r.log.only("bar"), (QStringList{"0 bar 1", "0 bar shown", "2000 bar 1", "4000 bar 2", "6000 bar 3",
                                              "6000 bar hidden"}));
    EXPECT_EQ(r.log.only("finished"), QStringList{"6200 finished"});
    EXPECT_EQ(r.log.only("designer"), QStringList{"6000 designer restored"});
    EXPECT_EQ(r.prompts.beeps, 0);
    EXPECT_FALSE(r.chain.isBusy());
    EXPECT_EQ(r.clock.activeTimers(), 0);
}

TEST(DownloadChainSchedule, FirstBytesAreTheTableZeroHeaderThenZeroAndTheTypeCodes) {
    ChainRig r;
    r.line.settings().station = 8;
    r.chain.startDownload();
    r.clock.advance(100);
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].bytes.left(6).toHex(' '), "08 33 01 f3 00 00");
    EXPECT_EQ(w[1].bytes.size(), 501);
    EXPECT_EQ(w[1].bytes.at(0), '0');
}

// The window is taken at the first data block and given back at the closing;
// the alarm texts do not take it again.
TEST(DownloadChainSchedule, MainWindowIsHeldFromFirstDataToClosing) {
    ChainRig r;
    r.chain.startDownload();
    r.clock.advance(8000);
    const QStringList window = r.log.only("window");
    ASSERT_EQ(window.size(), 12);
    EXPECT_EQ(window.first(), "100 window disabled");
    EXPECT_EQ(window.at(10), "4300 window disabled");
    EXPECT_EQ(window.last(), "6000 window enabled");
}

TEST(DownloadChainSchedule, TimersCarryTheirNamesAndIntervals) {
    ChainRig r;
    const auto &timers = DownloadChain::tableTimers();
    EXPECT_STREQ(timers.front().name, "grup_arr_BLOCK_LINK_SCHEMA_Timer");
    EXPECT_STREQ(timers.back().name, "WRITE_PARAMETR_Z5_Timer");
    r.chain.startDownload();
    for (const auto &t : timers) {
        ASSERT_NE(r.chain.tableTimer(t.table), nullptr);
        EXPECT_TRUE(r.chain.tableTimer(t.table)->isActive()) << t.name;
        EXPECT_EQ(r.chain.tableTimer(t.table)->interval(), t.intervalMs) << t.name;
    }
    EXPECT_EQ(r.chain.tableTimer(0), nullptr);
    EXPECT_EQ(r.chain.tableTimer(11), nullptr);
    EXPECT_EQ(r.chain.dataStep().dataTimer().interval(), 100);
    EXPECT_EQ(r.chain.closing().closingTimer().interval(), 2000);
    r.clock.advance(4000);
    EXPECT_EQ(r.chain.closing().closingTicks(), 2);
}

// While a read holds the line the download is refused before it builds anything.
TEST(DownloadChainRefused, WhileTheLineIsBusyNothingIsBuiltOrSent) {
    ChainRig r;
    r.port.silent = true;
    ASSERT_TRUE(r.line.startExchange(Request::blockRead(2)));
    z5::testing::editFields(r.line, [&](z5::RequestFields &f) { f.table = 5; });
    const QByteArray before = z5::LineSessionProbe::lastBuilt(r.line);
    EXPECT_FALSE(r.chain.startDownload());
    EXPECT_EQ(z5::LineSessionProbe::lastBuilt(r.line), before);
    EXPECT_EQ(z5::LineSessionProbe::onLine(r.line).table, 5);
    EXPECT_FALSE(r.chain.isBusy());
    EXPECT_EQ(r.prompts.beeps, 1);
    r.clock.advance(8000);
    EXPECT_EQ(r.port.writes().size(), 1u) << "the read's request alone";
    EXPECT_TRUE(r.log.lines.isEmpty());
}

// A port that will not open ends the download at once as a failure: nothing
// is scheduled and nothing reports it finished.
TEST(DownloadChainFailures, PortThatWillNotOpenEndsTheDownloadAsAFailure) {
    ChainRig r;
    r.port.refuseOpen = true;
    ASSERT_FALSE(r.chain.startDownload());
    r.clock.advance(8000);
    EXPECT_TRUE(r.port.writes().empty());
    EXPECT_EQ(r.prompts.beeps, 0);
    EXPECT_TRUE(r.log.only("header").isEmpty());
    EXPECT_TRUE(r.log.only("finished").isEmpty());
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.prompts.messages[0].text, "Нет сети!!!\nno such device");
    EXPECT_FALSE(r.chain.isBusy());
}

TEST(DownloadChainFailures, ValueThatDoesNotFitStopsEverythingBeforeItStarts) {
    ChainRig r;
    r.tables.downloadProblem = QStringLiteral("Ошибка параметра\nPID 1, строка 3");
    EXPECT_FALSE(r.chain.startDownload());
    r.clock.advance(8000);
    EXPECT_TRUE(r.port.writes().empty());
    EXPECT_EQ(r.port.openCount(), 0);
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.prompts.messages[0].text, r.tables.downloadProblem);
    EXPECT_EQ(r.prompts.messages[0].caption, "Ошибка");
    EXPECT_TRUE(r.log.lines.isEmpty());
}

// A table that can no longer be built when its timer fires is left out whole
// (no header without data); the rest of the chain goes on.
TEST(DownloadChainFailures, TableThatFailsAtItsTickIsLeftOut) {
    ChainRig r;
    r.tables.brokenTable = 10;
    r.chain.startDownload();
    r.clock.advance(8000);
    EXPECT_TRUE(r.log.only("header 10").isEmpty());
    EXPECT_EQ(r.log.only("refused"), QStringList{"4200 refused 10"});
    EXPECT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.port.writes().size(), 22u);
    EXPECT_EQ(r.log.only("finished"), QStringList{"6200 finished"});
}

TEST(DownloadChainFailures, SecondDownloadWhileOneRunsIsRefused) {
    ChainRig r;
    r.chain.startDownload();
    r.clock.advance(3000);
    EXPECT_TRUE(r.chain.isBusy());
    EXPECT_FALSE(r.chain.startDownload());
    r.clock.advance(3150);
    EXPECT_TRUE(r.chain.isBusy()) << "table 11 is still to come";
    r.clock.advance(100);
    EXPECT_FALSE(r.chain.isBusy());
    EXPECT_TRUE(r.chain.startDownload());
}

// The closing shuts the port after the parameter table and reopens it on the
// port number chosen meanwhile.
TEST(DownloadChainSchedule, AlarmTextsGoOutOnTheNewlyChosenPort) {
    ChainRig r;
    r.chain.startDownload();
    r.clock.advance(5000);
    r.line.settings().portNumber = 2;
    r.clock.advance(3000);
    EXPECT_EQ(r.port.openedDevice(), PortSettings::deviceName(2));
}
