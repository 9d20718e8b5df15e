// A page read is one request in the line owner's queue: how its reply ends.
#include "TrendRig.h"
#include "link/AdapterWatch.h"
#include "link/Request.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace z5;

namespace {

struct ReadRig : z5::testing::TrendBench {
    std::optional<LineOutcome> ended;
    ReadRig() {
        session.setBlock(5);
        QObject::connect(&session, &TrendSession::readEnded, [this](LineOutcome o) { ended = o; });
    }
};

struct ReadCase {
    const char *name;
    std::function<void(ReadRig &)> before;   // the line as the read finds it
    std::function<void(ReadRig &)> during;   // 1 s after readPage
    bool started;                            // readPage's answer
    LineOutcome outcome;
    int partRequests;                        // sent for the read
    QString failure;
};
void PrintTo(const ReadCase &row, std::ostream *os) { *os << row.name; }

class PageReadOutcomes : public ::testing::TestWithParam<ReadCase> {};

} // namespace

TEST_P(PageReadOutcomes, EndsOnceAndGivesTheLineBack) {
    const ReadCase &c = GetParam();
    ReadRig r;
    if (c.before) c.before(r);
    EXPECT_EQ(r.session.readPage(17), c.started);
    r.clock.advance(1000);
    if (c.during) c.during(r);
    r.clock.advance(TrendPageAssembler::kStallMs + 1000);
    ASSERT_EQ(r.ended, c.outcome);
    EXPECT_FALSE(r.session.reading());
    EXPECT_EQ(int(r.recorder.requests.size()), c.partRequests);
    EXPECT_EQ(r.session.lastFailureText(), c.failure);
    EXPECT_FALSE(r.line.isBusy());
    EXPECT_EQ(r.line.waitingCount(), 0);
    // The line serves the next request (after a quiet line, where a reply may still come).
    r.port.refuseOpen = false;
    r.port.clearWrites();
    r.line.enqueue(Request::blockRead(2));
    r.clock.advance(LineSession::kQuietGuardMs + LineSession::kQuietPollMs);
    EXPECT_EQ(r.port.writes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Queue, PageReadOutcomes,
    ::testing::Values(
        ReadCase{"page_complete", {}, {}, true, LineOutcome::Reply, 30, {}},
        ReadCase{"no_reply", [](ReadRig &r) { for (int i = 1; i <= 200; ++i) r.recorder.faults[i] = z5::testing::ScriptedRecorder::Fault::Drop; },
                 {}, true, LineOutcome::NoReply, 33, QStringLiteral("Нет ответа от Z5")},
        ReadCase{"port_does_not_open", [](ReadRig &r) { r.port.refuseOpen = true; }, {}, false, LineOutcome::NoNetwork, 0,
                 QStringLiteral("Нет сети!!!\nno such device")},
        // A block read holds the line (its watchdog ends it); the page waits behind it.
        ReadCase{"cancelled_while_waiting",
                 [](ReadRig &r) {
                     r.port.silent = true;
                     r.line.enqueue(Request::blockRead(2), 5000);
                 },
                 [](ReadRig &r) {
                     EXPECT_EQ(r.line.waitingCount(), 1);
                     r.line.cancelQueue();
                 },
                 true, LineOutcome::Cancelled, 0, {}},
        ReadCase{"cancelled_while_reading", {}, [](ReadRig &r) { r.line.cancelQueue(); }, true, LineOutcome::Cancelled,
                 11, {}}),
    [](const ::testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

// The window closing gives the read up quietly: nothing is told, nothing more is
// asked, and the line is free at once.
TEST(PageRead, CancelledByItsSessionEndsQuietly) {
    ReadRig r;
    r.session.readPage(17);
    const std::shared_ptr<LineReply> page = LineSessionProbe::underWay(r.line);
    ASSERT_TRUE(page);
    r.clock.advance(500);
    r.session.cancel();
    EXPECT_FALSE(r.line.isBusy());
    ASSERT_TRUE(page->isFinished());
    EXPECT_EQ(page->outcome(), LineOutcome::Cancelled);
    const auto sent = r.recorder.requests.size();
    r.clock.advance(10000);
    EXPECT_FALSE(r.ended.has_value());
    EXPECT_EQ(r.recorder.requests.size(), sent);
}

// A newer read replaces the one waiting: only the newer page is asked for.
TEST(PageRead, ANewerReadReplacesTheOneWaiting) {
    ReadRig r;
    r.recorder.faults[1] = z5::testing::ScriptedRecorder::Fault::Drop;   // the block read gets no answer
    r.line.enqueue(Request::blockRead(2), 300);
    r.session.readPage(17);
    r.session.readPage(18);
    EXPECT_EQ(r.line.waitingCount(), 1);
    r.clock.advance(12000);   // the block read's watchdog, the wait for its reply to be given up, the page
    ASSERT_EQ(r.ended, LineOutcome::Reply);
    EXPECT_EQ(r.session.page().pageNumber, 18);
    ASSERT_EQ(r.recorder.requests.size(), 31u);
    for (std::size_t i = 1; i < r.recorder.requests.size(); ++i) EXPECT_EQ(r.recorder.requests[i].page, 18);
}

// An adapter pulled out in the middle of a page: the read says so once, then
// goes on from the part it was on as soon as the line has the adapter back; the
// parts already in are not asked for again and the page comes whole.
TEST(PageRead, CutOffByAnUnpluggedAdapterItGoesOnFromThePartItWasOn) {
    QTemporaryDir dir;
    const QString adapter = dir.filePath(QStringLiteral("usb-adapter"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), adapter));
    int interrupted = 0, partsIn = 0;
    ReadRig r;
    QObject::connect(&r.session, &TrendSession::readInterrupted, [&] { ++interrupted; });
    QObject::connect(&r.session, &TrendSession::readProgress, [&](int in, int) { partsIn = in; });
    r.session.setGoesOnWhenAdapterReturns(true);
    ASSERT_TRUE(LineSessionProbe::openPort(r.line, adapter));
    r.session.readPage(17);
    r.clock.advance(1000);
    const int inBefore = partsIn;
    ASSERT_GT(inBefore, 3);
    r.port.fail(QStringLiteral("Порт пропал: устройство отключено."), true);
    r.port.refuseOpen = true;
    QFile::remove(adapter);
    r.clock.advance(3000);
    EXPECT_EQ(interrupted, 1);
    EXPECT_FALSE(r.ended.has_value());
    EXPECT_TRUE(r.line.awaitsAdapter());
    EXPECT_FALSE(r.line.isBusy()) << "the line is free meanwhile";
    const std::size_t asked = r.recorder.requests.size();

    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), adapter));
    r.port.refuseOpen = false;
    r.clock.advance(AdapterWatch::kLookEveryMs + 5000);
    ASSERT_EQ(r.ended, LineOutcome::Reply);
    EXPECT_EQ(r.session.page().pageNumber, 17);
    ASSERT_GT(r.recorder.requests.size(), asked);
    EXPECT_EQ(r.recorder.requests[asked].part, inBefore) << "it goes on from the part it was on";
    EXPECT_EQ(int(r.recorder.requests.size() - asked), TrendPageAssembler::kParts - inBefore);
}
