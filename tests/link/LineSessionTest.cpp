// The line owner: requests as values, one piece of work on the line at a time,
// stale input and the tap, on the virtual clock.
#include "LineBench.h"
#include "ReplyFrames.h"
#include "link/FakeSerialPort.h"
#include "link/PortFailuresTold.h"
#include "link/LineSession.h"
#include "LineSessionProbe.h"
#include "link/ReplyCheck.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "link/AdapterWatch.h"
#include "link/SerialDevices.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

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
    ASSERT_TRUE(z5::LineSessionProbe::openPort(line));
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
    ASSERT_TRUE(z5::LineSessionProbe::openPort(line));
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
    // Held back until the first read's reply can no longer come, then unanswered too.
    clock.advance(StaleReplyGuard::kLateReplyLimitMs + 1000);
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
    const auto write = line.enqueue(setpointSequence());
    ASSERT_TRUE(write->isFinished());
    EXPECT_EQ(write->outcome(), Outcome::NoNetwork);
    EXPECT_EQ(write->failure(), "no such device");
    EXPECT_TRUE(write->metPortFailure());
    EXPECT_TRUE(prompts.messages.empty()) << "the line shows nothing itself";
    EXPECT_FALSE(line.isBusy());
}

// A reply belongs to its request: one that comes after its read gave up is
// dropped, and the next read's own reply is the one taken, whenever the late one
// comes: before the next request, just after it, or while its reply is on the way.
// Far ends of every honest kind, read as `watch --every 50` reads: the next read
// is asked for 50 ms after the one before ended. Each reply carries its own
// request's number, so a reply shown under another request shows. Every reply
// shown must be its own request's; where none is lost, every read is shown.
TEST(LineReplies, AReplyIsShownOnlyForItsOwnRequestOnEveryHonestLine) {
    struct Row {
        const char *name;
        int delayMs;        // from the request to its reply
        int lateFirstMs;    // the first reply comes this long after the watchdog instead (0: on time)
        int copyGapMs;      // each reply is sent again this long after it (-1: once)
        int busyMs;         // a far end that answers in order, each answer taking this long (0: not busy)
        int minShown;       // replies shown at the least in the run
        bool sameValues = false;   // every reply carries the same values (a block that does not change)
    };
    const std::vector<Row> rows = {
        {"instant far end", 0, 0, -1, 0, 60},
        {"paced far end", 25, 0, -1, 0, 50},
        {"late by 0.2 s", 25, 200, -1, 0, 20},
        {"late by 1.25 s", 25, 1250, -1, 0, 10},
        {"late by 5 s", 25, 5000, -1, 0, 1},
        {"copies at once", 25, 0, 0, 0, 10},
        {"copies 60 ms after", 25, 0, 60, 0, 8},
        {"copies 150 ms after", 25, 0, 150, 0, 8},
        {"copies 500 ms after", 25, 0, 500, 0, 4},
        {"busy far end, answers queue", 0, 0, -1, 1300, 0},
        {"instant far end, values that do not change", 0, 0, -1, 0, 60, true},
        {"paced far end, values that do not change", 25, 0, -1, 0, 50, true},
        {"copies 150 ms after, values that do not change", 25, 0, 150, 0, 8, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        LineRig f;
        f.port.notifiesArrivals = true;
        f.port.responder = [](const QByteArray &) { return QByteArray(); };
        // What the far end will send, and when.
        std::multimap<std::int64_t, QByteArray> due;
        std::int64_t busyUntil = 0;
        std::size_t seenWrites = 0;
        std::map<const LineReply *, char> numberOf;
        std::vector<std::pair<char, QByteArray>> shown;
        std::int64_t nextReadAt = 0;
        char next = 'A';
        const std::int64_t end = 12000;
        while (f.clock.nowMs() < end) {
            const std::int64_t now = f.clock.nowMs();
            // The far end answers each request that reached it.
            for (; seenWrites < f.port.writes().size(); ++seenWrites) {
                const char n = row.sameValues ? 'A' : char('A' + seenWrites);
                std::int64_t at = now + row.delayMs;
                if (row.busyMs > 0) at = busyUntil = std::max(busyUntil, now) + row.busyMs;
                if (seenWrites == 0 && row.lateFirstMs > 0) at = now + ReplyReception::kBlockWatchdogMs + row.lateFirstMs;
                due.emplace(at, testframes::blockReply(n));
                if (row.copyGapMs >= 0) due.emplace(at + row.copyGapMs, testframes::blockReply(n));
            }
            while (!due.empty() && due.begin()->first <= now) {
                f.port.deliver(due.begin()->second);
                due.erase(due.begin());
            }
            if (nextReadAt >= 0 && now >= nextReadAt) {
                nextReadAt = -1;
                const std::shared_ptr<LineReply> reply = f.line.enqueue(Request::blockRead(0));
                numberOf[reply.get()] = next++;
                const auto ended = [&, r = reply.get()] {
                    if (r->outcome() == Outcome::Reply) shown.emplace_back(numberOf[r], r->bytes());
                    nextReadAt = f.clock.nowMs() + 50;
                };
                if (reply->isFinished()) ended();
                else QObject::connect(reply.get(), &LineReply::finished, ended);
            }
            f.clock.advance(1);
        }
        // Each request's number is the order it went out in; its reply says whose it is.
        int wrong = 0;
        for (const auto &[request, bytes] : shown)
            wrong += bytes.left(260) != testframes::blockReply(row.sameValues ? 'A' : request);
        EXPECT_EQ(wrong, 0) << "replies shown under another request, of " << shown.size();
        EXPECT_GE(int(shown.size()), row.minShown);
    }
}

// An adapter pulled out and plugged in again. The adapter is a link to a
// character device (/dev/null) that goes away and comes back; the port fails as
// an unplugged one does. Each row plugs it back in its own way.
TEST(LineAdapter, AnAdapterThatWentAwayIsOpenedAgainOnceItIsBackAndWritesAreNotResumed) {
    struct Row {
        const char *name;
        bool sameName;      // it comes back under the name it was opened by
        bool sameSerial;    // the device list knows it by its serial number under a new name
        bool reopened;      // the line opens it again by itself
    };
    const Row rows[] = {
        {"back under its name", true, false, true},
        {"back under another name, same serial number", false, true, true},
        {"another device under another name", false, false, false},
    };
    struct Devices : SerialDevices {
        std::vector<SerialDeviceInfo> present;
        std::vector<SerialDeviceInfo> list() const override { return present; }
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString byId = dir.filePath("usb-adapter-A1"), other = dir.filePath("ttyUSB1");
        ASSERT_TRUE(QFile::link("/dev/null", byId));
        Devices devices;
        devices.present = {{byId, {}, {}, QStringLiteral("A1"), {}}};
        QStringList gone, back;
        LineRig f;
        z5::testing::PortFailuresTold told(f.line);
        f.line.setSerialDevices(&devices);
        f.port.responder = [](const QByteArray &) { return testframes::blockReply('A'); };
        QObject::connect(&f.line, &LineSession::adapterGone, [&](const QString &d) { gone << d; });
        QObject::connect(&f.line, &LineSession::adapterReturned, [&](const QString &d) { back << d; });
        ASSERT_TRUE(LineSessionProbe::openPort(f.line, byId));
        f.read(Request::blockRead(0));
        f.clock.advance(400);

        // Unplugged: the next read fails, the user is told once, and what fails
        // while it is away (reads, a write) ends at once without another word.
        f.port.fail(QStringLiteral("Порт пропал: устройство отключено."), true);
        f.port.refuseOpen = true;
        QFile::remove(byId);
        devices.present.clear();
        f.read(Request::blockRead(0));
        EXPECT_TRUE(f.line.awaitsAdapter());
        f.clock.advance(700);
        f.read(Request::blockRead(1));
        const auto write = f.line.enqueue(setpointSequence());
        f.clock.advance(3000);
        EXPECT_EQ(told.reasons.size(), 1);
        EXPECT_EQ(gone, QStringList{byId});
        EXPECT_EQ(write->outcome(), Outcome::NoNetwork);
        EXPECT_TRUE(back.isEmpty());

        // Plugged in again.
        f.port.refuseOpen = false;
        const int writesBefore = int(f.port.writes().size());
        ASSERT_TRUE(QFile::link("/dev/null", row.sameName ? byId : other));
        if (row.sameSerial) devices.present = {{other, {}, {}, QStringLiteral("A1"), {}}};
        if (!row.sameSerial && !row.sameName) devices.present = {{other, {}, {}, QStringLiteral("B7"), {}}};
        f.clock.advance(AdapterWatch::kLookEveryMs);
        EXPECT_EQ(f.line.isPortOpen(), row.reopened);
        EXPECT_EQ(f.line.awaitsAdapter(), !row.reopened);
        EXPECT_EQ(back, row.reopened ? QStringList{row.sameName ? byId : other} : QStringList{});
        EXPECT_EQ(int(f.port.writes().size()), writesBefore) << "nothing is sent again by itself";
        if (!row.reopened) continue;
        f.endings.clear();
        f.read(Request::blockRead(0));
        f.clock.advance(400);
        EXPECT_EQ(f.endings, std::vector<Outcome>{Outcome::Reply});
        EXPECT_EQ(told.reasons.size(), 1);
    }
}

// Changing the port or the station is queued work: the read under way keeps its
// port to its end, the change survives a cancelled queue, and the request after
// it goes to the new station on the new port.
TEST_F(LineFixture, APortOrStationChangeWaitsForTheWorkUnderWayAndIsNeverDropped) {
    qputenv("Z5_COM7", "/dev/ttyUSB7");
    port.responder = [](const QByteArray &) { return testframes::blockReply('A'); };
    const auto first = read(Request::blockRead(0));
    int changed = 0;
    QObject::connect(&line, &LineSession::settingsChanged, [&] { ++changed; });
    line.changePort(7);
    line.changeStation(3);
    EXPECT_TRUE(port.isOpen()) << "the read under way keeps its port";
    EXPECT_EQ(line.settings().station, 1);
    line.cancelQueue();   // the read ends; the changes keep their turn
    EXPECT_EQ(first->outcome(), Outcome::Cancelled);
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(line.settings().portNumber, 7);
    EXPECT_EQ(line.settings().station, 3);
    read(Request::blockRead(1));
    const auto opened = line.enqueueOpen();
    line.release();
    clock.advance(LineSession::kQuietGuardMs + 400);
    EXPECT_EQ(port.openedDevice(), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_EQ(port.writes().back().bytes.at(0), 3) << "the frame names the new station";
    EXPECT_EQ(opened->outcome(), Outcome::Reply);
    EXPECT_FALSE(port.isOpen()) << "let go once the read before it ended";
    qunsetenv("Z5_COM7");
}
