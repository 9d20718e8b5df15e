// The line's queue: requests as values answered by their own reply objects,
// what waits behind what, what a newer read drops, on the virtual clock.
#include "LineBench.h"
#include "ReplyFrames.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include <gtest/gtest.h>
#include <memory>

using namespace z5;

namespace {

// The far end answers every request awaiting a reply with a block reply
// filled with the third byte of the request (the block + 1, or the command's 0).
struct QueueRig : LineBench {
    QueueRig() {
        port.responder = [](const QByteArray &written) {
            return written.size() == 8 ? testframes::blockReply(written[2]) : QByteArray();
        };
    }
    // The third byte of every request frame that went out, in order.
    QByteArray sentBlockBytes() const {
        QByteArray out;
        for (const auto &w : port.writes())
            if (w.bytes.size() == 8) out.append(w.bytes[2]);
        return out;
    }
};

const char *nameOf(LineOutcome o) {
    switch (o) {
    case LineOutcome::Reply: return "reply";
    case LineOutcome::WrongCheckValue: return "wrong check value";
    case LineOutcome::NoReply: return "no reply";
    case LineOutcome::NoNetwork: return "no network";
    case LineOutcome::Cancelled: return "cancelled";
    case LineOutcome::NotDrained: return "not drained";
    }
    return "?";
}

} // namespace

// Requests given one after another while the first is under way: which go
// out (their block bytes, in order) and how each reply ends.
TEST(LineQueue, WhatWaitsAndWhatANewerReadDrops) {
    struct Row {
        const char *what;
        std::vector<Request> requests;
        QByteArray sent;                       // the third frame byte of each request that went out
        std::vector<LineOutcome> outcomes;     // one per request, in the order given
    };
    using O = LineOutcome;
    const std::vector<Row> rows = {
        {"one read", {Request::blockRead(3)}, QByteArray("\x04", 1), {O::Reply}},
        {"a second read while one is under way waits its turn",
         {Request::blockRead(1), Request::blockRead(2)}, QByteArray("\x02\x03", 2), {O::Reply, O::Reply}},
        {"a key while a read is under way waits its turn",
         {Request::blockRead(1), Request::panelKey(6, 2)}, QByteArray("\x02\x07", 2), {O::Reply, O::Reply}},
        {"a newer read replaces the waiting one, not the one under way",
         {Request::blockRead(0), Request::blockRead(1), Request::blockRead(2)},
         QByteArray("\x01\x03", 2),
         {O::Reply, O::Cancelled, O::Reply}},
        {"commands are never dropped and keep their order",
         {Request::blockRead(0), Request::processCommand(Request::StartProcess),
          Request::processCommand(Request::PauseProcess)},
         QByteArray("\x01\x00\x00", 3),
         {O::Reply, O::Reply, O::Reply}},
        {"a read replaces a read waiting behind a key; the key stays",
         {Request::blockRead(0), Request::blockRead(1), Request::panelKey(4, 7), Request::blockRead(2)},
         QByteArray("\x01\x05\x03", 3),
         {O::Reply, O::Cancelled, O::Reply, O::Reply}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QueueRig r;
        std::vector<std::shared_ptr<LineReply>> replies;
        for (const Request &request : row.requests) replies.push_back(r.line.enqueue(request));
        EXPECT_EQ(r.line.waitingCount() + 1, static_cast<int>(row.sent.size()));
        r.clock.advance(5000);
        EXPECT_EQ(r.sentBlockBytes().toHex(' '), row.sent.toHex(' '));
        ASSERT_EQ(replies.size(), row.outcomes.size());
        for (size_t i = 0; i < replies.size(); ++i) {
            SCOPED_TRACE(i);
            ASSERT_TRUE(replies[i]->isFinished());
            EXPECT_STREQ(nameOf(replies[i]->outcome()), nameOf(row.outcomes[i]));
        }
        EXPECT_FALSE(r.line.isBusy());
    }
}

// Each reply carries the bytes that answered its own request and no other.
TEST(LineQueue, EveryReplyCarriesItsOwnBytes) {
    QueueRig r;
    const auto first = r.line.enqueue(Request::blockRead(5));
    const auto second = r.line.enqueue(Request::panelKey(8, 2));
    r.clock.advance(3000);
    ASSERT_EQ(first->outcome(), LineOutcome::Reply);
    ASSERT_EQ(second->outcome(), LineOutcome::Reply);
    EXPECT_EQ(first->bytes(), testframes::blockReply(6));
    EXPECT_EQ(second->bytes(), testframes::blockReply(9));
}

// Endings other than a reply: each says why, and the line goes on with the next.
TEST(LineQueue, FailuresEndTheirOwnReplyAndTheNextGoesOut) {
    {
        SCOPED_TRACE("the port does not open");
        QueueRig r;
        r.port.refuseOpen = true;
        const auto reply = r.line.enqueue(Request::blockRead(1));
        ASSERT_TRUE(reply->isFinished());
        EXPECT_EQ(reply->outcome(), LineOutcome::NoNetwork);
        EXPECT_EQ(reply->failure(), r.port.refuseReason);
        EXPECT_TRUE(reply->bytes().isEmpty());
        EXPECT_FALSE(r.line.isBusy());
    }
    {
        SCOPED_TRACE("nobody answers, then the waiting command goes out once that reply can no longer come");
        QueueRig r;
        r.port.silent = true;
        const auto read = r.line.enqueue(Request::blockRead(1));
        const auto command = r.line.enqueue(Request::processCommand(Request::StoreSchema));
        r.clock.advance(ReplyReception::kBlockWatchdogMs);
        EXPECT_EQ(read->outcome(), LineOutcome::NoReply);
        EXPECT_FALSE(command->isFinished());
        r.port.silent = false;
        r.clock.advance(StaleReplyGuard::kLateReplyLimitMs - 100);
        EXPECT_TRUE(r.port.writes().size() == 1u) << "held back while the read's reply may come";
        r.clock.advance(1000);
        EXPECT_EQ(command->outcome(), LineOutcome::Reply);
    }
    {
        SCOPED_TRACE("a waiting request is cancelled and never goes out");
        QueueRig r;
        const auto read = r.line.enqueue(Request::blockRead(1));
        const auto key = r.line.enqueue(Request::panelKey(2, 3));
        r.line.cancel(*key);
        EXPECT_EQ(key->outcome(), LineOutcome::Cancelled);
        r.clock.advance(3000);
        EXPECT_EQ(read->outcome(), LineOutcome::Reply);
        EXPECT_EQ(r.sentBlockBytes().toHex(' '), "02");
    }
    {
        SCOPED_TRACE("cancelling the queue ends the one under way and every waiting one");
        QueueRig r;
        const auto read = r.line.enqueue(Request::blockRead(1));
        const auto key = r.line.enqueue(Request::panelKey(2, 3));
        r.line.cancelQueue();
        EXPECT_EQ(read->outcome(), LineOutcome::Cancelled);
        EXPECT_EQ(key->outcome(), LineOutcome::Cancelled);
        EXPECT_FALSE(r.line.isBusy());
    }
}

// A request given while a write sequence holds the line goes out once the write has ended.
TEST(LineQueue, ARequestWaitsForTheWriteUnderWay) {
    QueueRig r;
    WriteSequence sequence;
    sequence.header(0, 12, Request::tableHeader(Table::Setpoints, 7));
    sequence.data(500, 12, [] { return WriteBlock{QByteArray(32, '\1'), -1, {}, {}}; });
    const auto write = r.line.enqueue(sequence);
    const auto read = r.line.enqueue(Request::blockRead(0));
    r.clock.advance(499);
    EXPECT_FALSE(read->isFinished());
    EXPECT_EQ(r.port.writes().size(), 1u);
    r.clock.advance(1);
    EXPECT_EQ(write->outcome(), LineOutcome::Reply);
    EXPECT_EQ(r.port.writes().size(), 3u) << "the read goes out the moment the write has ended";
    EXPECT_EQ(r.port.writes()[2].atMs, 500);
    r.clock.advance(2000);
    EXPECT_EQ(read->outcome(), LineOutcome::Reply);
}
