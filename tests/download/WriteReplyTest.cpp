// A write sequence's reply: every step reported as it happens, then one outcome
// for each way a write can end.
#include "WriteTestKit.h"
#include "download/SetpointWrite.h"
#include "link/WriteReply.h"
#include "link/WriteSequence.h"
#include <functional>
#include "LineSessionProbe.h"
#include <gtest/gtest.h>

using namespace z5;
using z5::testing::ChainRig;

namespace {

WriteBlock tableData(Table table) {
    WriteBlock block;
    block.bytes = QByteArray(Link::tableDataCount(tableNumber(table)), '\5');
    return block;
}

} // namespace

// Every kind of step, one of them refused: the refused table's later steps are
// dropped and the write ends once the rest has gone.
TEST(WriteReply, ReportsEachStepAsItHappens) {
    ChainRig r;
    WriteSequence sequence;
    const int journalLinks = tableNumber(Table::JournalLinks);
    const int screenLinks = tableNumber(Table::ScreenLinks);
    sequence.header(0, journalLinks, Request::tableHeader(Table::JournalLinks),
                    [] { return tableData(Table::JournalLinks); });
    sequence.data(100, journalLinks);
    sequence.mark(100, WriteMarks::kWindowHeld, journalLinks);
    sequence.closePort(150);
    sequence.reopenPort(200);
    sequence.header(250, screenLinks, Request::tableHeader(Table::ScreenLinks), [] {
        WriteBlock refused;
        refused.problem = QStringLiteral("no table 4");
        return refused;
    });
    sequence.data(350, screenLinks);
    sequence.mark(350, WriteMarks::kWindowHeld, screenLinks);
    const auto write = r.line.enqueue(sequence);
    r.clock.advance(1000);
    EXPECT_EQ(r.log.lines, (QStringList{"0 header 3", "100 data 3 68", "100 window disabled", "150 port closed",
                                        "200 reopened", "250 refused 4", "250 finished"}));
    EXPECT_EQ(write->outcome(), LineOutcome::Reply);
    EXPECT_FALSE(write->succeeded());
    EXPECT_EQ(r.port.writes().size(), 2u);
    EXPECT_EQ(r.port.openCount(), 2);
}

struct EndingRow {
    const char *name;
    std::function<void(ChainRig &)> before;   // faults set before the start
    std::function<void(ChainRig &)> midway;   // faults set 50 ms in
    QStringList log;
    LineOutcome outcome;
    QString failureStart;
    std::function<void(ChainRig &)> afterLastSend = nullptr;   // faults set 250 ms in
};
void PrintTo(const EndingRow &row, std::ostream *os) { *os << row.name; }

class WriteEnding : public ::testing::TestWithParam<EndingRow> {};

TEST_P(WriteEnding, EndsWithOneOutcome) {
    const EndingRow &row = GetParam();
    ChainRig r;
    SetpointWrite setpoints{r.chain};
    if (row.before) row.before(r);
    const WriteStart start = setpoints.writeSetpoints(7);
    ASSERT_NE(start.reply, nullptr);
    r.clock.advance(50);
    if (row.midway) row.midway(r);
    r.clock.advance(200);
    if (row.afterLastSend) row.afterLastSend(r);
    r.clock.advance(5000);
    EXPECT_EQ(r.log.lines, row.log);
    ASSERT_TRUE(start.reply->isFinished());
    EXPECT_EQ(start.reply->outcome(), row.outcome);
    EXPECT_EQ(start.reply->succeeded(), row.outcome == LineOutcome::Reply);
    if (row.outcome == LineOutcome::NoNetwork) {
        // The port's own words from the moment it failed; "Нет сети!!!" is the front end's.
        EXPECT_TRUE(start.reply->failureText().isEmpty()) << start.reply->failureText().toStdString();
        EXPECT_TRUE(row.failureStart.endsWith(start.reply->failure())) << start.reply->failure().toStdString();
    } else {
        EXPECT_TRUE(start.reply->failureText().startsWith(row.failureStart)) << start.reply->failureText().toStdString();
        EXPECT_EQ(row.failureStart.isEmpty(), start.reply->failureText().isEmpty());
    }
    EXPECT_FALSE(r.line.isBusy());
    // What the user is told: a failure once, nothing for a success.
    ASSERT_EQ(r.prompts.messages.size(), row.failureStart.isEmpty() ? 0u : 1u);
    if (!row.failureStart.isEmpty()) {
        EXPECT_TRUE(r.prompts.messages[0].text.startsWith(row.failureStart));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriteEnding,
    ::testing::Values(
        EndingRow{"every byte left", nullptr, nullptr, {"0 header 12", "200 data 12 32", "200 finished"},
                  LineOutcome::Reply, QString()},
        EndingRow{"the port does not open", [](ChainRig &r) { r.port.refuseOpen = true; }, nullptr,
                  {"0 finished"}, LineOutcome::NoNetwork, QStringLiteral("Нет сети!!!\nno such device")},
        EndingRow{"a send fails midway",
                  nullptr,
                  [](ChainRig &r) {
                      r.port.refuseOpen = true;
                      r.port.fail(QStringLiteral("gone"));
                  },
                  {"0 header 12", "200 data 12 32 failed", "200 finished"}, LineOutcome::NoNetwork,
                  QStringLiteral("Нет сети!!!\ngone")},
        EndingRow{"bytes stay queued", [](ChainRig &r) { r.port.farEndTakesBytes = 8; }, nullptr,
                  {"0 header 12", "200 data 12 32", "710 finished"}, LineOutcome::NotDrained,
                  QStringLiteral("Z5 не принимает данные: отправлено 8 из 40 байт")},
        EndingRow{"a close drops what was queued", [](ChainRig &r) { r.port.farEndTakesBytes = 8; },
                  [](ChainRig &r) { z5::LineSessionProbe::closePort(r.line); },
                  {"0 header 12", "200 data 12 32 failed", "200 finished"}, LineOutcome::NoNetwork,
                  QStringLiteral("Нет сети!!!")},
        // A port that writes from a thread of its own learns of a failure after
        // write() said yes: the bytes it still held are lost, and so is the write.
        EndingRow{"the port fails while the last bytes leave", [](ChainRig &r) { r.port.farEndTakesBytes = 8; },
                  nullptr, {"0 header 12", "200 data 12 32", "260 finished"}, LineOutcome::NoNetwork,
                  QStringLiteral("Нет сети!!!\ngone"), [](ChainRig &r) { r.port.fail(QStringLiteral("gone")); }}),
    [](const ::testing::TestParamInfo<EndingRow> &info) {
        std::string name = info.param.name;
        for (char &c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// A close in the sequence that drops queued bytes ends the write at once after
// its last step: those bytes never come back.
TEST(WriteReply, ACloseThatDropsBytesEndsNotDrained) {
    ChainRig r;
    r.port.farEndTakesBytes = 1000;
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(10000);
    EXPECT_EQ(r.lastWrite().outcome(), LineOutcome::NotDrained);
    EXPECT_EQ(r.log.only("finished"), QStringList{"6200 finished"}) << "no wait for bytes that were dropped";
    EXPECT_EQ(r.lastWrite().failureText(),
              LineSession::notAcceptedText(1000, r.port.writtenBytes().size()));
}

// Writes are never dropped: cancelling the queue ends the read under way and
// the waiting reads, and the waiting write still goes out at its own offsets.
TEST(WriteReply, CancellingTheQueueLeavesAWaitingWriteItsTurn) {
    ChainRig r;
    SetpointWrite setpoints{r.chain};
    r.port.silent = true;
    const auto read = r.line.enqueue(Request::blockRead(1));
    const WriteStart write = setpoints.writeSetpoints(7);
    const auto laterRead = r.line.enqueue(Request::blockRead(2));
    r.line.cancelQueue();
    EXPECT_EQ(read->outcome(), LineOutcome::Cancelled);
    EXPECT_EQ(laterRead->outcome(), LineOutcome::Cancelled);
    r.clock.advance(1000);
    ASSERT_TRUE(write.reply->isFinished());
    EXPECT_TRUE(write.reply->succeeded());
    ASSERT_EQ(r.port.writes().size(), 3u);
    EXPECT_EQ(r.port.writes()[2].atMs - r.port.writes()[1].atMs, 200);
}

// A write that ends at a refused step hands the line to the write waiting
// behind it, which goes out whole at its own offsets.
TEST(WriteReply, AWriteEndedByARefusalLetsTheNextOneGo) {
    ChainRig r;
    SetpointWrite setpoints{r.chain};
    r.tables.setpointProblemAtTick = QStringLiteral("Ошибка параметра");
    const WriteStart first = setpoints.writeSetpoints(7);
    ASSERT_TRUE(r.chain.startDownload());
    r.clock.advance(10000);
    EXPECT_EQ(first.reply->outcome(), LineOutcome::Cancelled);
    EXPECT_TRUE(r.lastWrite().succeeded());
    const auto &w = r.port.writes();
    ASSERT_EQ(w.size(), 1u + 24u);
    EXPECT_EQ(w[1].atMs, 200);
    EXPECT_EQ(w[1].bytes, z5::testing::tableHeader(1, Table::Blocks));
    EXPECT_EQ(w[24].atMs, 200 + 6200);
}
