// What a port's own I/O thread and the thread that owns the port hand each
// other: arrivals, line errors and a failure one way (told by one notice per
// burst), the bytes to write the other way, counted until they have left.
#include "link/PortInbox.h"
#include "link/PortOutbox.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <gtest/gtest.h>
#include <thread>

using namespace z5;

namespace {

QCoreApplication &application() {
    static int argc = 1;
    static char name[] = "test_link";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);   // for the whole run
    return *QCoreApplication::instance();
}

struct InboxRow {
    const char *name;
    const char *steps;   // b:N put N bytes, e:F errors, f:C failure, t notice taken, a take all, c clear
    int notices;
    qsizetype size;
    unsigned errors;
    unsigned long failure;
    qsizetype room;      // of a bound of 8
};

class InboxNotices : public ::testing::TestWithParam<InboxRow> {};

TEST_P(InboxNotices, OneNoticeUntilTheOwnerTakesIt) {
    const InboxRow &row = GetParam();
    PortInbox inbox(8);
    int notices = 0;
    inbox.setNotifier([&notices] { ++notices; });
    for (const QString &step : QString::fromLatin1(row.steps).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int n = step.mid(2).toInt();
        switch (step.at(0).toLatin1()) {
        case 'b': inbox.put(QByteArray(n, 'x').constData(), n); break;
        case 'e': inbox.putErrors(LineErrors{unsigned(n)}); break;
        case 'f': inbox.putFailure(unsigned(n)); break;
        case 't': inbox.noticeTaken(); break;
        case 'a': inbox.takeAll(); break;
        case 'c': inbox.clear(); break;
        default: FAIL() << step.toStdString();
        }
    }
    EXPECT_EQ(notices, row.notices);
    EXPECT_EQ(inbox.size(), row.size);
    EXPECT_EQ(inbox.room(), row.room);
    EXPECT_EQ(inbox.failure(), row.failure);
    EXPECT_EQ(inbox.takeErrors().flags, row.errors);
    EXPECT_FALSE(inbox.takeErrors().any()) << "taken once";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InboxNotices,
    ::testing::Values(InboxRow{"aBurstIsOneNotice", "b:3 b:2", 1, 5, 0, 0, 3},
                      InboxRow{"aNoticeTakenLetsTheNextOneGo", "b:3 t b:2", 2, 5, 0, 0, 3},
                      InboxRow{"takingBytesIsNotTakingTheNotice", "b:3 a b:2", 1, 2, 0, 0, 6},
                      InboxRow{"errorsAddUp", "e:1 e:4 b:1", 1, 1, 5, 0, 7},
                      InboxRow{"nothingToTellIsNoNotice", "b:0 e:0", 0, 0, 0, 0, 8},
                      InboxRow{"theFirstFailureIsKept", "f:31 t f:5", 2, 0, 0, 31, 8},
                      InboxRow{"aFailureWithoutACodeStillCounts", "f:0", 1, 0, 0, 1, 8},
                      InboxRow{"pastTheBoundNothingIsLost", "b:6 b:6", 1, 12, 0, 0, 0},
                      InboxRow{"clearForgetsAll", "b:5 e:2 f:9 c", 1, 0, 0, 0, 8}),
    [](const auto &info) { return std::string(info.param.name); });

// A reader thread's arrivals reach the owner's event loop whole and in order,
// in no more notices than deliveries.
TEST(PortInbox, ArrivalsFromAnotherThreadReachTheOwnersLoopInOrder) {
    application();
    PortInbox inbox(64 * 1024);
    QObject owner;
    QByteArray taken;
    int notices = 0;
    inbox.setNotifier([&] {
        QMetaObject::invokeMethod(&owner, [&] {
            ++notices;
            inbox.noticeTaken();
            taken += inbox.takeAll();
        }, Qt::QueuedConnection);
    });
    QByteArray sent;
    for (int i = 0; i < 1000; ++i) sent += char(i % 251);
    std::thread reader([&] {
        for (int at = 0; at < sent.size(); at += 10) {
            inbox.put(sent.constData() + at, 10);
            if (at % 100 == 0) std::this_thread::yield();
        }
    });
    const QDeadlineTimer deadline(10000);
    while (taken.size() < sent.size() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    reader.join();
    QCoreApplication::processEvents();
    taken += inbox.takeAll();
    EXPECT_EQ(taken, sent);
    EXPECT_GE(notices, 1);
    EXPECT_LE(notices, 100);
    inbox.setNotifier({});
}

struct OutboxRow {
    const char *name;
    const char *steps;   // q:N queue N bytes, k:M take up to M, s sent, f fail, r reset
    std::vector<int> chunks;
    qint64 pending;
    qint64 lost;
    bool lastQueued;
};

class OutboxSteps : public ::testing::TestWithParam<OutboxRow> {};

TEST_P(OutboxSteps, CountsWhatHasNotLeft) {
    const OutboxRow &row = GetParam();
    PortOutbox outbox;
    QByteArray queued;
    QByteArray taken;
    std::vector<int> chunks;
    bool lastQueued = true;
    for (const QString &step : QString::fromLatin1(row.steps).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int n = step.mid(2).toInt();
        switch (step.at(0).toLatin1()) {
        case 'q': {
            QByteArray bytes;
            for (int i = 0; i < n; ++i) bytes += char(queued.size() + i);
            lastQueued = outbox.queue(bytes);
            if (lastQueued) queued += bytes;
            break;
        }
        case 'k': {
            const QByteArray chunk = outbox.take(n);
            chunks.push_back(int(chunk.size()));
            taken += chunk;
            break;
        }
        case 's': outbox.sent(); break;
        case 'f': outbox.fail(); break;
        case 'r':
            outbox.reset();
            queued.clear();
            taken.clear();
            break;
        default: FAIL() << step.toStdString();
        }
    }
    EXPECT_EQ(chunks, row.chunks);
    EXPECT_EQ(outbox.pending(), row.pending);
    EXPECT_EQ(outbox.lost(), row.lost);
    EXPECT_EQ(outbox.failed(), row.lost > 0);
    EXPECT_EQ(lastQueued, row.lastQueued);
    EXPECT_TRUE(queued.startsWith(taken)) << "bytes leave in the order written, none twice";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, OutboxSteps,
    ::testing::Values(OutboxRow{"writesGoTogether", "q:3 q:4 k:100", {7}, 7, 0, true},
                      OutboxRow{"sentIsGone", "q:3 q:4 k:100 s", {7}, 0, 0, true},
                      OutboxRow{"oneChunkInFlightAtATime", "q:10 k:4 k:4", {4, 0}, 10, 0, true},
                      OutboxRow{"aLongWriteGoesInChunks", "q:10 k:4 s k:4 s k:4 s k:4", {4, 4, 2, 0}, 0, 0, true},
                      OutboxRow{"aFailureLosesWhatWasPending", "q:5 k:5 q:2 f q:1", {5}, 0, 7, false},
                      OutboxRow{"resetAcceptsAgain", "q:5 f r q:2", {}, 2, 0, true},
                      OutboxRow{"nothingWrittenNothingTaken", "q:0 k:8", {0}, 0, 0, true}),
    [](const auto &info) { return std::string(info.param.name); });

enum class Writer { Sends, Stalls, Fails };

struct WaitRow {
    const char *name;
    Writer writer;
    qint64 notLeft;
};

class OutboxWait : public ::testing::TestWithParam<WaitRow> {};

// The owner's close waits for the writer thread, within its bound.
TEST_P(OutboxWait, ReturnsWhatHasNotLeft) {
    PortOutbox outbox;
    ASSERT_TRUE(outbox.queue(QByteArray(300, 'x')));
    std::thread writer([&] {
        for (;;) {
            const QByteArray chunk = outbox.take(100);
            if (chunk.isEmpty()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            if (GetParam().writer == Writer::Stalls) return;
            if (GetParam().writer == Writer::Fails) {
                outbox.fail();
                return;
            }
            outbox.sent();
        }
    });
    const qint64 notLeft = outbox.waitUntilSent(GetParam().writer == Writer::Stalls ? 50 : 10000);
    writer.join();
    EXPECT_EQ(notLeft, GetParam().notLeft);
}

INSTANTIATE_TEST_SUITE_P(Writers, OutboxWait,
                         ::testing::Values(WaitRow{"everythingLeaves", Writer::Sends, 0},
                                           WaitRow{"aStuckWriterLeavesItAll", Writer::Stalls, 300},
                                           WaitRow{"aFailedWriterLostIt", Writer::Fails, 300}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
