// The two kinds of queued work the trend pages need: a frame without reply
// (recording start and stop) and a read its driver paces (a trend page).
#include "LineBench.h"
#include "link/PacedRead.h"
#include "link/Request.h"
#include "link/StaleReplyGuard.h"
#include <gtest/gtest.h>
#include <functional>

using namespace z5;

namespace {

struct FrameCase {
    const char *name;
    std::function<void(LineBench &)> before;   // the line and the far end as the frame finds them
    std::function<void(LineBench &)> after;    // 100 ms after the frame was queued
    LineOutcome outcome;
    std::int64_t endedByMs;                     // the reply has ended by then
    int writes;
    QString failure;
};
void PrintTo(const FrameCase &row, std::ostream *os) { *os << row.name; }

class QueuedFrame : public ::testing::TestWithParam<FrameCase> {};

} // namespace

TEST_P(QueuedFrame, EndsOnceItsBytesHaveLeft) {
    const FrameCase &c = GetParam();
    LineBench b;
    if (c.before) c.before(b);
    const std::shared_ptr<LineReply> frame = b.line.enqueueFrame(Request::recording(4, true));
    std::int64_t endedAt = frame->isFinished() ? 0 : -1;
    QObject::connect(frame.get(), &LineReply::finished, [&] { endedAt = b.clock.nowMs(); });
    b.clock.advance(100);
    if (c.after) c.after(b);
    b.clock.advance(2000);
    ASSERT_TRUE(frame->isFinished());
    EXPECT_EQ(frame->outcome(), c.outcome);
    EXPECT_LE(endedAt, c.endedByMs);
    EXPECT_EQ(int(b.port.writes().size()), c.writes);
    EXPECT_EQ(frame->failure(), c.failure);
    EXPECT_TRUE(frame->bytes().isEmpty()) << "no reply is read";
    EXPECT_FALSE(b.line.isBusy());
}

INSTANTIATE_TEST_SUITE_P(
    Line, QueuedFrame,
    ::testing::Values(
        FrameCase{"left_at_once", {}, {}, LineOutcome::Reply, 0, 1, {}},
        FrameCase{"port_does_not_open", [](LineBench &b) { b.port.refuseOpen = true; }, {}, LineOutcome::NoNetwork, 0, 0,
                  QStringLiteral("no such device")},
        // Its 8 bytes take 1 ms on the line; with the drain margin it is given 501 ms.
        FrameCase{"bytes_never_leave", [](LineBench &b) { b.port.farEndTakesBytes = 0; }, {}, LineOutcome::NotDrained,
                  510, 1, LineSession::notAcceptedText(0, 8)},
        FrameCase{"far_end_reads_again", [](LineBench &b) { b.port.farEndTakesBytes = 0; },
                  [](LineBench &b) { b.port.farEndResumes(); }, LineOutcome::Reply, 110, 1, {}},
        // A block read holds the line until its watchdog (1 s); the frame goes out after it.
        FrameCase{"waits_behind_an_exchange",
                  [](LineBench &b) {
                      b.port.silent = true;
                      b.line.enqueue(Request::blockRead(2));
                  },
                  [](LineBench &b) { EXPECT_EQ(b.port.writes().size(), 1u) << "not sent while the line is held"; },
                  LineOutcome::Reply, 1000, 2, {}}),
    [](const ::testing::TestParamInfo<FrameCase> &info) { return std::string(info.param.name); });

// A paced read waits its turn, then holds the line: its driver sends, is told of
// each arrival, takes the bytes and gives the line back; what waited goes next.
TEST(PacedRead, HoldsTheLineForItsDriverUntilItEnds) {
    LineBench b;
    b.port.notifiesArrivals = true;
    b.port.replyDelayMs = 30;
    b.port.responder = [](const QByteArray &frame) { return QByteArray(4, frame[3]); };
    b.port.silent = true;
    b.line.enqueue(Request::blockRead(2), 200);
    auto read = std::make_shared<PacedRead>(Request::trendPagePart(4, 0, 7), 8000);
    int started = 0, arrivals = 0;
    QByteArray taken;
    QObject::connect(read.get(), &PacedRead::started, [&] {
        ++started;
        EXPECT_TRUE(read->send(Request::trendPagePart(4, 0, 7)));
    });
    QObject::connect(read.get(), &PacedRead::arrived, [&] {
        ++arrivals;
        taken += read->takeInput();
    });
    b.line.enqueuePacedRead(read);
    EXPECT_EQ(started, 0) << "it waits its turn";
    EXPECT_FALSE(read->send(Request::trendPagePart(4, 1, 7)));
    b.port.silent = false;
    b.clock.advance(200);   // the block read's watchdog
    EXPECT_EQ(started, 0) << "the read before may still be answered: the page waits until it cannot";
    b.clock.advance(StaleReplyGuard::kLateReplyLimitMs);
    ASSERT_EQ(started, 1);
    EXPECT_TRUE(read->isUnderWay());
    EXPECT_TRUE(b.line.isBusy());
    b.clock.advance(50);
    EXPECT_GE(arrivals, 1);
    EXPECT_EQ(taken, QByteArray(4, char(10)));
    const std::shared_ptr<LineReply> next = b.line.enqueue(Request::blockRead(3));
    EXPECT_EQ(b.line.waitingCount(), 1);
    read->end(LineOutcome::Reply);
    EXPECT_EQ(read->outcome(), LineOutcome::Reply);
    EXPECT_FALSE(read->isUnderWay());
    EXPECT_FALSE(read->send(Request::trendPagePart(4, 1, 7))) << "the line is given back";
    EXPECT_EQ(b.line.waitingCount(), 0) << "the next request went out";
}

TEST(PacedRead, CancelledWhileUnderWayEndsWithoutItsDriver) {
    LineBench b;
    auto read = std::make_shared<PacedRead>(Request::trendPagePart(4, 0, 7), 8000);
    b.line.enqueuePacedRead(read);
    ASSERT_TRUE(read->isUnderWay());
    b.line.cancel(*read);
    EXPECT_EQ(read->outcome(), LineOutcome::Cancelled);
    EXPECT_FALSE(read->isUnderWay());
    EXPECT_FALSE(b.line.isBusy());
}

// A driver that went quiet cannot hold the line for good: the owner's watchdog
// ends the read once nothing was sent or taken for its watchdog and margin, and
// what waited goes out. Each send or input taken puts the watchdog back.
TEST(PacedRead, ADriverThatFallsSilentLosesTheLineToTheOwnersWatchdog) {
    LineBench b;
    auto read = std::make_shared<PacedRead>(Request::trendPagePart(4, 0, 7), 8000);
    b.line.enqueuePacedRead(read);
    ASSERT_TRUE(read->isUnderWay());
    const std::shared_ptr<LineReply> next = b.line.enqueue(Request::blockRead(3));
    const int limit = 8000 + LineSession::kPacedWatchdogMarginMs;
    b.clock.advance(limit - 100);
    EXPECT_TRUE(read->send(Request::trendPagePart(4, 1, 7)));
    b.clock.advance(limit - 100);
    EXPECT_TRUE(read->isUnderWay()) << "a send puts the watchdog back";
    b.clock.advance(200);
    EXPECT_FALSE(read->isUnderWay());
    EXPECT_EQ(read->outcome(), LineOutcome::NoReply);
    EXPECT_EQ(b.line.waitingCount(), 0) << "the request that waited went out";
    EXPECT_FALSE(next->isFinished());
}

// A block reply that comes after its watchdog, while a page read waits for the
// line, is dropped: the page's driver never sees it among its first answer.
TEST(PacedRead, ALateReplyOfTheReadBeforeIsNotTakenForThePagesFirstAnswer) {
    LineBench b;
    b.port.notifiesArrivals = true;
    b.port.silent = true;
    b.line.enqueue(Request::blockRead(2), 200);
    auto read = std::make_shared<PacedRead>(Request::trendPagePart(4, 0, 7), 8000);
    QByteArray taken;
    int started = 0;
    QObject::connect(read.get(), &PacedRead::started, [&] { ++started; });
    QObject::connect(read.get(), &PacedRead::arrived, [&] { taken += read->takeInput(); });
    b.line.enqueuePacedRead(read);
    b.clock.advance(200 + 400);
    EXPECT_EQ(started, 0);
    b.port.deliver(QByteArray(260, char(0x44)));   // the block read's reply, 400 ms late
    b.clock.advance(LineSession::kQuietGuardMs + LineSession::kQuietPollMs);
    EXPECT_EQ(started, 1);
    EXPECT_TRUE(taken.isEmpty());
    b.line.cancel(*read);
    EXPECT_FALSE(b.line.isBusy());
}
