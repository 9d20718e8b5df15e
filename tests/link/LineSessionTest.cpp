// The line owner: requests as values, one piece of work on the line at a time,
// stale input and the tap, on the virtual clock.
#include "LineBench.h"
#include "ReplyFrames.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "LineSessionProbe.h"
#include "link/ReplyCheck.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>

using namespace z5;
using Outcome = LineSession::Outcome;

namespace {

struct LineRig : LineBench {
    std::vector<Outcome> endings;
    std::vector<QByteArray> replies;
    std::vector<std::pair<LineSession::Direction, QByteArray>> tapped;

    LineRig() {
        QObject::connect(&line, &LineSession::transferred,
                         [this](LineSession::Direction d, const QByteArray &b) { tapped.emplace_back(d, b); });
    }
    // Queues a request; how it ends and the block reply it got are recorded.
    std::shared_ptr<LineReply> read(const Request &request) {
        const std::shared_ptr<LineReply> reply = line.enqueue(request);
        const auto record = [this](const LineReply &r) {
            endings.push_back(r.outcome());
            if (!r.bytes().isEmpty()) replies.push_back(r.bytes());
        };
        if (reply->isFinished())
            record(*reply);
        else
            QObject::connect(reply.get(), &LineReply::finished, [record, r = reply.get()] { record(*r); });
        return reply;
    }
};

struct LineFixture : ::testing::Test, LineRig {};

QByteArray sentFrame(const QByteArray &write) { return write.left(6).toHex(' '); }

} // namespace

// Each named request gives today's frame; the fields it leaves alone go out as
// the request before left them.
TEST_F(LineFixture, RequestsProduceTheirFramesAndCarryWhatTheyDoNotSet) {
    struct Row {
        const char *what;
        Request request;
        const char *frame;
    };
    const std::vector<Row> rows = {
        {"block read of column 3", Request::blockRead(3), "01 03 04 0a 00 00"},
        {"start: index 11 and count 0 carried", Request::processCommand(Request::StartProcess), "01 03 00 0b 33 00"},
        {"panel key 7 of column 5, index and count carried", Request::panelKey(5, 7), "01 03 06 0b 07 00"},
        {"recording start: code 7 carried", Request::recording(9, true), "01 03 0a 01 07 02"},
        {"recording stop", Request::recording(9, false), "01 03 0a 00 07 02"},
        {"trend page 4 of column 9", Request::trendPage(9, 4), "01 03 0a 0a 07 04"},
        {"table 9 header", Request::tableHeader(Table::JournalBytes), "01 3c 00 20 00 00"},
        {"table 12 header of column 13", Request::tableHeader(Table::Setpoints, 13), "01 3f 00 20 00 0d"},
        {"screen header", Request::screenHeader(), "01 32 70 8b 00 00"},
    };
    ASSERT_TRUE(line.openPort());
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        port.clearWrites();
        ASSERT_TRUE(LineSessionProbe::send(line, row.request));
        ASSERT_EQ(port.writes().size(), 1u);
        EXPECT_EQ(sentFrame(port.writes()[0].bytes), row.frame);
        EXPECT_EQ(port.writes()[0].bytes, testframes::withCheck(port.writes()[0].bytes.left(6)));
    }
}

TEST(ReplyCheck, HoldsOnlyForAWholeReplyWithItsOwnCheckValue) {
    const QByteArray good = testframes::blockReply('\x21');
    QByteArray flipped = good;
    flipped[100] = '\x22';
    QByteArray longer = good;
    longer.append("xyz");
    EXPECT_TRUE(blockReplyCheckHolds(good));
    EXPECT_TRUE(blockReplyCheckHolds(longer)) << "bytes beyond 260 are not covered";
    EXPECT_FALSE(blockReplyCheckHolds(flipped));
    EXPECT_FALSE(blockReplyCheckHolds(good.left(259)));
    EXPECT_FALSE(blockReplyCheckHolds(QByteArray()));
}

// A late reply already waiting must not pass for the answer to the next read.
TEST_F(LineFixture, AStaleReplyWaitingIsDiscardedBeforeTheNextRead) {
    const QByteArray stale = testframes::blockReply('\x55');
    const QByteArray fresh = testframes::blockReply('\x66');
    ASSERT_TRUE(line.openPort());
    port.deliver(stale);
    port.responder = [fresh](const QByteArray &) { return fresh; };
    ASSERT_FALSE(read(Request::blockRead(2))->isFinished());
    clock.advance(150);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], fresh);
    EXPECT_EQ(endings, std::vector<Outcome>{Outcome::Reply});
}

// The controller answers a recording start, though nothing awaits it.
TEST_F(LineFixture, TheAnswerToARecordingStartIsNotTakenForTheNextBlock) {
    port.responder = [](const QByteArray &request) {
        return testframes::blockReply(request[3] == 1 ? '\x01' : '\x02');
    };
    EXPECT_EQ(line.enqueueFrame(Request::recording(4, true))->outcome(), Outcome::Reply);
    EXPECT_FALSE(line.isBusy());
    clock.advance(100);
    ASSERT_FALSE(read(Request::blockRead(4))->isFinished());
    clock.advance(150);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], testframes::blockReply('\x02'));
}

// A setpoint write of 32 bytes: its header at once, its data 100 ms later.
static WriteSequence setpointSequence() {
    WriteSequence sequence;
    sequence.header(0, 12, Request::tableHeader(Table::Setpoints, 7));
    sequence.data(100, 12, [] { return WriteBlock{QByteArray(32, '\1'), -1, {}, {}}; });
    return sequence;
}

// What holds the line is its one activity; whatever is given meanwhile waits
// its turn and nothing is refused.
TEST_F(LineFixture, WorkGivenWhileTheLineIsHeldWaitsItsTurn) {
    port.silent = true;
    std::vector<bool> busy;
    QObject::connect(&line, &LineSession::busyChanged, [&](bool b) { busy.push_back(b); });
    const auto first = read(Request::blockRead(1));
    EXPECT_EQ(line.activity(), LineSession::Activity::Exchange);
    const auto write = line.enqueue(setpointSequence());
    EXPECT_TRUE(line.isWaiting(*write));
    EXPECT_EQ(port.writes().size(), 1u);
    clock.advance(1000);
    EXPECT_EQ(endings, std::vector<Outcome>{Outcome::NoReply});
    EXPECT_EQ(line.activity(), LineSession::Activity::WriteSequence) << "the write's turn comes at once";
    const auto second = read(Request::blockRead(2));
    EXPECT_TRUE(line.isWaiting(*second));
    clock.advance(200);
    EXPECT_EQ(write->outcome(), Outcome::Reply);
    EXPECT_FALSE(line.isWaiting(*second));
    EXPECT_EQ(line.activity(), LineSession::Activity::Exchange);
    clock.advance(2000);
    EXPECT_EQ(endings, (std::vector<Outcome>{Outcome::NoReply, Outcome::NoReply}));
    EXPECT_EQ(line.activity(), LineSession::Activity::Idle);
    ASSERT_FALSE(busy.empty());
    EXPECT_TRUE(busy.front());
    EXPECT_FALSE(busy.back());
}

TEST_F(LineFixture, EveryTransferPassesTheTapInOrder) {
    const QByteArray reply = testframes::blockReply('\x33');
    port.responder = [reply](const QByteArray &) { return reply; };
    ASSERT_FALSE(read(Request::blockRead(0))->isFinished());
    clock.advance(150);
    ASSERT_EQ(tapped.size(), 2u);
    EXPECT_EQ(tapped[0].first, LineSession::Direction::Sent);
    EXPECT_EQ(tapped[0].second, port.writes()[0].bytes);
    EXPECT_EQ(tapped[1].first, LineSession::Direction::Received);
    EXPECT_EQ(tapped[1].second, reply);
}

TEST_F(LineFixture, AWriteWhosePortDoesNotOpenEndsAtOnceAsANetworkFailureWithThePortsReason) {
    port.refuseOpen = true;
    QStringList told;
    QObject::connect(&line, &LineSession::networkFailed, [&](const QString &why) { told << why; });
    const auto write = line.enqueue(setpointSequence());
    ASSERT_TRUE(write->isFinished());
    EXPECT_EQ(write->outcome(), Outcome::NoNetwork);
    EXPECT_EQ(write->failure(), "no such device");
    EXPECT_EQ(told, QStringList{"no such device"});
    EXPECT_TRUE(prompts.messages.empty()) << "the line shows nothing itself";
    EXPECT_FALSE(line.isBusy());
}

// A reply belongs to its request: one that comes after its read gave up is
// dropped, and the next read's own reply is the one taken, whenever the late one
// comes: before the next request, just after it, or while its reply is on the way.
TEST(LineReplies, AReplyThatComesAfterItsReadGaveUpIsNeverTakenForTheNext) {
    struct Row {
        const char *name;
        int lateAtMs;          // after the first request
        int nextReadAtMs;      // after the first request
        int sentNotBeforeMs;   // the next request, after a quiet guard time
    };
    const int guard = LineSession::kQuietGuardMs;
    const std::vector<Row> rows = {
        {"late reply before the next read", 1050, 1100, 1100 + guard},
        {"late reply just after the next read is asked for", 1050, 1010, 1050 + guard},
        // The line was quiet long enough: the request goes at once, and the late
        // reply, complete 10 ms after it, cannot be its answer.
        {"late reply while the next reply is on its way", 1520, 1500, 1500},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        LineRig f;
        const QByteArray a = testframes::blockReply('\x0A');
        const QByteArray b = testframes::blockReply('\x0B');
        f.port.notifiesArrivals = true;
        f.port.responder = [&](const QByteArray &) { return QByteArray(); };
        const std::int64_t start = f.clock.nowMs();
        ASSERT_FALSE(f.read(Request::blockRead(0))->isFinished());
        f.port.replyDelayMs = 30;
        f.port.responder = [&](const QByteArray &) { return b; };
        bool lateSent = false;
        while (f.clock.nowMs() - start < 3000) {
            const std::int64_t t = f.clock.nowMs() - start;
            if (!lateSent && t >= row.lateAtMs) {
                f.port.deliver(a);
                lateSent = true;
            }
            if (t == row.nextReadAtMs) {
                ASSERT_FALSE(f.read(Request::blockRead(1))->isFinished());
            }
            f.clock.advance(1);
        }
        ASSERT_EQ(f.replies.size(), 1u);
        EXPECT_EQ(f.replies[0], b) << "block A's values shown under block B";
        EXPECT_EQ(f.endings, (std::vector<Outcome>{Outcome::NoReply, Outcome::Reply}));
        // The second request went out only after a quiet guard time since the late bytes.
        ASSERT_EQ(f.port.writes().size(), 2u);
        const std::int64_t sentAt = f.port.writes()[1].atMs - start;
        EXPECT_GE(sentAt, row.sentNotBeforeMs);
        EXPECT_LE(sentAt, row.sentNotBeforeMs + LineSession::kQuietPollMs);
        bool toldLate = false;
        for (int i = 0; i < f.line.traffic().size(); ++i)
            toldLate |= f.line.traffic().at(i).what.startsWith(QStringLiteral("поздний ответ"));
        EXPECT_TRUE(toldLate);
    }
}

// A reply complete sooner than its request and itself take on the wire was on its
// way before the request: not taken; the read waits on for its own.
TEST_F(LineFixture, AReplyCompleteSoonerThanTheWireAllowsIsNotTaken) {
    const QByteArray early = testframes::blockReply('\x0E');
    const QByteArray own = testframes::blockReply('\x0F');
    port.notifiesArrivals = true;
    ASSERT_TRUE(line.openPort());
    port.responder = [&](const QByteArray &) { return own; };
    port.replyDelayMs = 40;
    ASSERT_FALSE(read(Request::blockRead(2))->isFinished());
    clock.advance(ReplyReception::kShortestBlockReplyMs - 1);
    port.deliver(early);
    EXPECT_TRUE(replies.empty());
    clock.advance(200);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], own);
    EXPECT_EQ(ReplyReception::kShortestBlockReplyMs, 23);
}
