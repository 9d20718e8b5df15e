#include "WriteTestKit.h"
#include "download/DownloadChain.h"
#include "link/FakeSerialPort.h"
#include "link/EditFields.h"
#include "link/Link.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "LineSessionProbe.h"
#include <gtest/gtest.h>
#include <map>

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

    const std::vector<std::pair<Table, int>> headers = {
        {Table::Blocks, 0},           {Table::Links, 500},        {Table::TrendLinks, 1000},
        {Table::JournalLinks, 1200},  {Table::ScreenLinks, 1400}, {Table::SetpointNames, 1900},
        {Table::PanelTexts, 2500},    {Table::TrendNames, 3000},  {Table::JournalNames, 3500},
        {Table::JournalBytes, 4000},  {Table::Parameters, 4200},  {Table::AlarmTexts, 6100}};
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), headers.size() * 2);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        const auto [table, at] = headers[i];
        SCOPED_TRACE(tableNumber(table));
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
    EXPECT_FALSE(r.line.isBusy());
    EXPECT_TRUE(r.lastWrite().succeeded());
    EXPECT_EQ(r.clock.activeTimers(), 0);
}

TEST(DownloadChainSchedule, FirstBytesAreTheTableZeroHeaderThenZeroAndTheTypeCodes) {
    ChainRig r;
    r.line.changeStation(8);
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

TEST(DownloadChainSchedule, TimersCarryTheirTablesAndIntervals) {
    const auto &timers = DownloadChain::tableTimers();
    EXPECT_EQ(timers.front().table, Table::Links);
    EXPECT_EQ(timers.back().table, Table::Parameters);
    PatternTables tables;
    std::map<int, int> headerAt;
    std::vector<int> ticks;
    const WriteSequence sequence = DownloadChain::sequence(tables);
    for (const auto &step : sequence.steps()) {
        if (step.kind == WriteSequence::StepKind::Header) headerAt[step.tag] = step.atMs;
        if (step.kind == WriteSequence::StepKind::Mark && WriteMarks::isClosingTick(step.mark)) ticks.push_back(step.atMs);
    }
    for (const auto &t : timers) EXPECT_EQ(headerAt[tableNumber(t.table)], t.intervalMs) << tableNumber(t.table);
    EXPECT_EQ(headerAt[tableNumber(Table::Blocks)], 0);
    EXPECT_EQ(headerAt[tableNumber(Table::AlarmTexts)], 6100);
    EXPECT_EQ(ticks, (std::vector<int>{2000, 4000, 6000}));
}

// A download asked for while a read holds the line waits its turn: nothing of
// it is built or set meanwhile, and it keeps its own offsets from its start.
TEST(DownloadChainQueued, ADownloadWaitsBehindAReadAndKeepsItsOffsets) {
    ChainRig r;
    r.port.silent = true;
    ASSERT_FALSE(r.line.enqueue(Request::blockRead(2))->isFinished());
    z5::testing::editFields(r.line, [&](z5::RequestFields &f) { f.table = tableNumber(Table::SetpointNames); });
    const QByteArray before = z5::LineSessionProbe::lastBuilt(r.line);
    ASSERT_TRUE(r.chain.startDownload());
    EXPECT_EQ(z5::LineSessionProbe::lastBuilt(r.line), before);
    EXPECT_EQ(z5::LineSessionProbe::onLine(r.line).table, tableNumber(Table::SetpointNames));
    EXPECT_TRUE(r.log.lines.isEmpty());
    EXPECT_EQ(r.prompts.beeps, 0);
    r.clock.advance(10000);
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 1u + 24u) << "the read's request, then the whole download";
    const std::int64_t start = w[1].atMs;
    EXPECT_GT(start, 0);
    EXPECT_EQ(w[1].bytes, tableHeader(1, Table::Blocks));
    EXPECT_EQ(w[3].atMs - start, 500);
    EXPECT_EQ(w[23].atMs - start, 6100);
    EXPECT_TRUE(r.lastWrite().succeeded());
}

TEST(DownloadChainQueued, ASecondDownloadWaitsForTheFirstToEnd) {
    ChainRig r;
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(3000);
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(20000);
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 48u);
    EXPECT_EQ(w[24].atMs, 6200) << "the second starts once the first has drained";
    EXPECT_EQ(w[24].bytes, tableHeader(1, Table::Blocks));
    EXPECT_EQ(w[47].atMs, 6200 + 6200);
    EXPECT_EQ(r.log.only("finished"), (QStringList{"6200 finished", "12400 finished"}));
}

// A port that will not open ends the download at once as a failure: nothing
// is sent, no step is reported, the reply ends NoNetwork.
TEST(DownloadChainFailures, PortThatWillNotOpenEndsTheDownloadAsAFailure) {
    ChainRig r;
    r.port.refuseOpen = true;
    const WriteStart start = r.chain.startDownload();
    ASSERT_FALSE(start);
    r.clock.advance(8000);
    EXPECT_TRUE(r.port.writes().empty());
    EXPECT_EQ(r.prompts.beeps, 0);
    EXPECT_EQ(r.log.lines, QStringList{"0 finished"});
    EXPECT_EQ(start.reply->outcome(), LineOutcome::NoNetwork);
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.prompts.messages[0].text, "Нет сети!!!\nno such device");
    EXPECT_FALSE(r.line.isBusy());
}

TEST(DownloadChainFailures, ValueThatDoesNotFitStopsEverythingBeforeItStarts) {
    ChainRig r;
    r.tables.downloadProblem = QStringLiteral("Ошибка параметра\nPID 1, строка 3");
    const WriteStart start = r.chain.startDownload();
    EXPECT_FALSE(start);
    EXPECT_EQ(start.reply, nullptr);
    r.clock.advance(8000);
    EXPECT_TRUE(r.port.writes().empty());
    EXPECT_EQ(r.port.openCount(), 0);
    EXPECT_EQ(start.refusal.problem, r.tables.downloadProblem);
    EXPECT_EQ(start.refusal.caption, "Ошибка");
    EXPECT_TRUE(r.prompts.messages.empty()) << "the front end shows the refusal";
    EXPECT_TRUE(r.log.lines.isEmpty());
}

// A table that can no longer be built when its timer fires is left out whole
// (no header without data); the rest of the chain goes on.
TEST(DownloadChainFailures, TableThatFailsAtItsTickIsLeftOut) {
    ChainRig r;
    r.tables.brokenTable = Table::Parameters;
    r.chain.startDownload();
    r.clock.advance(8000);
    EXPECT_TRUE(r.log.only("header 10").isEmpty());
    EXPECT_EQ(r.log.only("refused"), QStringList{"4200 refused 10"});
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_EQ(r.prompts.messages[0].kind, Prompts::Kind::Error);
    EXPECT_EQ(r.port.writes().size(), 22u);
    EXPECT_EQ(r.log.only("finished"), QStringList{"6200 finished"});
    // A download with a table left out is no success, though every byte left.
    EXPECT_EQ(r.lastWrite().outcome(), LineOutcome::Reply);
    EXPECT_FALSE(r.lastWrite().succeeded());
    EXPECT_EQ(r.lastWrite().failureText(), "Ошибка параметра");
}

// The closing shuts the port after the parameter table and reopens it on the
// port number chosen meanwhile.
// A port chosen while a download runs waits for it: the alarm texts after the
// reopening go to the controller that got the rest of the download.
TEST(DownloadChainSchedule, APortChosenDuringADownloadIsTakenAfterIt) {
    ChainRig r;
    r.chain.startDownload();
    r.clock.advance(5000);
    const QString started = r.port.openedDevice();
    r.line.changePort(2);
    EXPECT_NE(started, PortSettings::deviceName(2));
    EXPECT_EQ(r.line.settings().portNumber, 4) << "not while the download runs";
    r.clock.advance(3000);
    EXPECT_EQ(r.port.openedDevice(), started);
    EXPECT_EQ(r.port.openCount(), 2) << "reopened once, on the same port";
    EXPECT_EQ(r.line.settings().portNumber, 2);
    EXPECT_FALSE(r.port.isOpen()) << "the old port is let go after the download";
}
