// Reply reception stepped on the virtual clock.
#include "LineBench.h"
#include "link/FakeSerialPort.h"
#include "link/Link.h"
#include "link/Request.h"
#include "link/ReplyReception.h"
#include "model/VirtualClock.h"
#include "LineSessionProbe.h"
#include <gtest/gtest.h>

using z5::Link;
using z5::ReplyReception;
using Ending = z5::ReplyReception::Ending;
using Exchange = z5::ReplyReception::Exchange;

namespace {

// 258 data bytes and their check value, low byte first.
QByteArray blockReply(char fill, bool checkLowFirst = true) {
    QByteArray r(258, fill);
    r[0] = 1;
    r[1] = 3;
    const auto crc = Link::checkValueOf(r);
    const char lo = char(crc & 0xFF), hi = char(crc >> 8);
    r.append(checkLowFirst ? lo : hi);
    r.append(checkLowFirst ? hi : lo);
    return r;
}

// The reception inside the bench's line owner, driven directly: with no
// exchange of its own under way the line owner leaves every ending to the test.
struct ReceptionFixture : ::testing::Test, z5::LineBench {
    std::vector<QByteArray> replies;
    std::vector<Ending> endings;

    // The bench outlives this fixture's members, and the line owner cancels its
    // reception when it goes: nothing may be recorded into members already gone.
    void TearDown() override { QObject::disconnect(&reception, nullptr, nullptr, nullptr); }

    void SetUp() override {
        ASSERT_TRUE(z5::LineSessionProbe::openPort(line));
        QObject::connect(&reception, &ReplyReception::blockReply, [this](const QByteArray &r) { replies.push_back(r); });
        QObject::connect(&reception, &ReplyReception::released, [this](Ending e) { endings.push_back(e); });
    }
    void answerWith(const QByteArray &reply) {
        port.responder = [reply](const QByteArray &) { return reply; };
    }
    void readBlock(int block) {
        z5::LineSessionProbe::send(line, z5::Request::blockRead(block));
        reception.awaitBlockReply();
    }
    bool timersStopped() const {
        return !reception.pollTimer().isActive() && !reception.watchdogTimer().isActive();
    }
};

} // namespace

TEST_F(ReceptionFixture, ACompleteReplyIsHandedOverAtTheFirstPollTick) {
    const QByteArray reply = blockReply('\x11');
    answerWith(reply);
    readBlock(3);
    EXPECT_EQ(reception.pollTimer().interval(), 150);
    EXPECT_EQ(reception.watchdogTimer().interval(), 1000);
    clock.advance(149);
    EXPECT_TRUE(replies.empty());
    clock.advance(1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], reply);
    EXPECT_EQ(reception.lastReply(), reply);
    EXPECT_EQ(reception.receivedCheck, Link::checkValueOf(reply, 258));
    EXPECT_EQ(endings, std::vector<Ending>{Ending::Reply});
    EXPECT_EQ(reception.exchange(), Exchange::Idle);
    EXPECT_TRUE(timersStopped());
}

TEST_F(ReceptionFixture, APortThatTellsOfArrivalsHandsTheReplyOverTheMomentItIsComplete) {
    const QByteArray reply = blockReply('\x33');
    answerWith(reply);
    port.notifiesArrivals = true;
    port.replyDelayMs = 23;
    port.pieceSize = 130;
    port.pieceIntervalMs = 10;   // pieces at 23 and 33 ms
    readBlock(2);
    clock.advance(32);
    EXPECT_TRUE(replies.empty());   // half a reply is not taken
    clock.advance(1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], reply);
    EXPECT_EQ(endings, std::vector<Ending>{Ending::Reply});
    EXPECT_TRUE(timersStopped());
    // A later arrival belongs to no exchange and is left for the next one.
    port.deliver(QByteArray(300, '\x01'));
    EXPECT_EQ(replies.size(), 1u);
    EXPECT_EQ(endings.size(), 1u);
}

TEST_F(ReceptionFixture, AReplyWithItsCheckBytesSwappedIsDroppedQuietly) {
    answerWith(blockReply('\x11', false));
    readBlock(3);
    clock.advance(150);
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(endings, std::vector<Ending>{Ending::WrongCheckValue});
    EXPECT_TRUE(timersStopped());
}

TEST_F(ReceptionFixture, AReplyArrivingInPiecesIsAwaitedOnLaterTicksAndJoined) {
    const QByteArray reply = blockReply('\x22');
    answerWith(reply);
    port.pieceSize = 100;
    port.pieceIntervalMs = 100;   // pieces at 20, 120 and 220 ms
    readBlock(4);
    clock.advance(150);
    EXPECT_TRUE(endings.empty());
    EXPECT_EQ(reception.exchange(), Exchange::BlockReply);
    clock.advance(150);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], reply);
    EXPECT_EQ(endings, std::vector<Ending>{Ending::Reply});
}

TEST_F(ReceptionFixture, AShortReplyIsGivenUpByTheWatchdogWhichClearsTheInput) {
    answerWith(blockReply('\x33').left(259));
    readBlock(3);
    clock.advance(999);
    EXPECT_TRUE(endings.empty());
    EXPECT_EQ(port.bytesAvailable(), 259);
    clock.advance(1);
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(endings, std::vector<Ending>{Ending::NoReply});
    EXPECT_EQ(port.bytesAvailable(), 0);
    EXPECT_TRUE(timersStopped());
    clock.advance(5000);
    EXPECT_EQ(endings.size(), 1u);
}

TEST_F(ReceptionFixture, MoreThan260WaitingBytesAreAllReadAndOnlyTheFirst260Count) {
    const QByteArray reply = blockReply('\x44');
    answerWith(reply + QByteArray(40, '\x7F'));
    readBlock(3);
    clock.advance(150);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].size(), 300);
    EXPECT_EQ(port.bytesAvailable(), 0);
}

TEST_F(ReceptionFixture, APortThatFailsDuringTheWaitEndsItAsNoNetworkWithThePortsReason) {
    port.silent = true;
    const auto read = line.enqueue(z5::Request::blockRead(3));
    ASSERT_FALSE(read->isFinished());
    clock.advance(100);
    port.fail(QStringLiteral("the far end closed"));
    clock.advance(50);
    EXPECT_TRUE(read->metPortFailure());
    EXPECT_EQ(read->failure(), QStringLiteral("the far end closed"));
    EXPECT_EQ(endings, std::vector<Ending>{Ending::NoNetwork});
    EXPECT_TRUE(timersStopped());
}

TEST_F(ReceptionFixture, CancelEndsTheExchangeOnce) {
    port.silent = true;
    readBlock(3);
    reception.cancel();
    clock.advance(2000);
    EXPECT_EQ(endings, std::vector<Ending>{Ending::Cancelled});
    reception.cancel();
    EXPECT_EQ(endings.size(), 1u);
}

namespace {

// Timers that fire only when told, even after they were stopped: a timeout
// already on its way when the exchange ended.
class ManualTimer : public z5::Timer {
public:
    void start(int intervalMs) override { interval_ = intervalMs, active_ = true; }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int interval() const override { return interval_; }
    void fireNow() { fire(); }

private:
    int interval_ = 0;
    bool active_ = false;
};

class ManualClock : public z5::Clock {
public:
    std::unique_ptr<z5::Timer> createTimer() override {
        auto t = std::make_unique<ManualTimer>();
        timers.push_back(t.get());
        return t;
    }
    std::int64_t nowMs() const override { return now; }
    std::int64_t now = 0;
    std::vector<ManualTimer *> timers;
};

} // namespace

TEST(ReplyReceptionLateTimeout, ATimeoutArrivingAfterTheExchangeEndedIsIgnored) {
    ManualClock clock;
    z5::FakeSerialPort port;
    ReplyReception reception(port, clock);
    ASSERT_EQ(clock.timers.size(), 3u);   // the poll, the watchdog, the copy window
    ManualTimer &poll = *clock.timers[0];
    ManualTimer &watchdog = *clock.timers[1];
    int released = 0, accepted = 0;
    QObject::connect(&reception, &ReplyReception::released, [&](Ending) { ++released; });
    QObject::connect(&reception, &ReplyReception::blockReply, [&](const QByteArray &) { ++accepted; });
    ASSERT_TRUE(port.open(QStringLiteral("/dev/fake")));

    reception.awaitBlockReply();
    port.deliver(blockReply('\x55'));
    clock.now = ReplyReception::kPollIntervalMs;
    poll.fireNow();
    EXPECT_EQ(accepted, 1);
    port.deliver(QByteArray(10, '\x66'));
    watchdog.fireNow();
    poll.fireNow();
    EXPECT_EQ(released, 1);
    EXPECT_EQ(port.bytesAvailable(), 10);   // the late watchdog discarded nothing
}
