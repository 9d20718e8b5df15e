// Trend reads and recording through the owner of the line: the frames on the
// wire and the line held for the whole page.
#include "LineBench.h"
#include "TrendRig.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "link/Request.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "trends/TrendSession.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

// The port here does not tell arrivals: the read paces on its poll.
struct LineRig : LineBench {
    TrendSession trends{clock, line};

    LineRig() {
        port.replyDelayMs = 98;
        port.responder = [](const QByteArray &frame) {
            if (frame.size() < 6 || quint8(frame[3]) < 10) return QByteArray();
            const int page = quint8(frame[5]) == 0 ? 3 : quint8(frame[5]);
            return z5::testing::trendPart(page, quint8(frame[3]) - 10, 45, 3);
        };
        trends.setBlock(5);
    }
    QByteArray frame(std::size_t i) const { return port.writes().at(i).bytes.toHex(' ').toUpper(); }
};

} // namespace

TEST(TrendLineFrames, RecordingStartAndStopFrames) {
    LineRig r;
    EXPECT_EQ(r.trends.setRecording(true)->outcome(), LineOutcome::Reply);
    EXPECT_EQ(r.trends.setRecording(false)->outcome(), LineOutcome::Reply);
    EXPECT_EQ(r.frame(0), QByteArray("01 03 06 01 00 02 43 95"));
    EXPECT_EQ(r.frame(1), QByteArray("01 03 06 00 00 02 83 C4"));
}

TEST(TrendLineFrames, PageReadHoldsTheLineAndAsksPartsByNumber) {
    LineRig r;
    ASSERT_TRUE(r.trends.readPage(TrendSession::kCurrentPage));
    EXPECT_EQ(r.frame(0), QByteArray("01 03 06 0A 00 00 40 65"));
    EXPECT_TRUE(r.line.isBusy());
    // No other exchange while a page is read: a block read waits (and is given up here).
    const std::shared_ptr<LineReply> blockRead = r.line.enqueue(Request::blockRead(2));
    EXPECT_TRUE(r.line.isWaiting(*blockRead));
    r.line.cancel(*blockRead);
    EXPECT_EQ(blockRead->outcome(), LineOutcome::Cancelled);
    // The recording frame waits its turn behind the page.
    const std::shared_ptr<LineReply> recording = r.trends.setRecording(true);
    EXPECT_FALSE(recording->isFinished());
    EXPECT_EQ(r.line.waitingCount(), 1);
    r.clock.advance(4000);
    EXPECT_FALSE(r.line.isBusy());
    ASSERT_EQ(r.trends.page().pageNumber, 3);
    ASSERT_EQ(r.port.writes().size(), 30u + 1u);
    EXPECT_EQ(recording->outcome(), LineOutcome::Reply);
    EXPECT_EQ(r.frame(30), QByteArray("01 03 06 01 00 02 43 95"));
    // Byte 4 is 10 + the part, byte 6 the page the first part named.
    EXPECT_TRUE(r.frame(1).startsWith("01 03 06 0B 00 03"));
    EXPECT_TRUE(r.frame(29).startsWith("01 03 06 27 00 03"));
}

TEST(TrendLineFrames, SilentControllerGivesTheLineBack) {
    LineRig r;
    r.port.silent = true;
    ASSERT_TRUE(r.trends.readPage(7));
    const std::shared_ptr<LineReply> page = LineSessionProbe::underWay(r.line);
    ASSERT_TRUE(page);
    r.clock.advance(TrendPageAssembler::kStallMs + 100);
    ASSERT_TRUE(page->isFinished());
    EXPECT_EQ(page->outcome(), LineOutcome::NoReply);
    EXPECT_FALSE(r.line.isBusy());
    const auto sent = r.port.writes().size();
    r.clock.advance(3000);
    EXPECT_EQ(r.port.writes().size(), sent);
    const std::shared_ptr<LineReply> next = r.line.enqueue(Request::blockRead(2));
    EXPECT_FALSE(next->isFinished());
    EXPECT_FALSE(r.line.isWaiting(*next)) << "the free line takes it at once";
}

TEST(TrendLineFrames, PortThatDoesNotOpenLeavesTheLineFree) {
    LineRig r;
    r.port.refuseOpen = true;
    EXPECT_FALSE(r.trends.readPage(7));
    EXPECT_EQ(r.trends.lastFailureText(), QStringLiteral("Нет сети!!!\nno such device"));
    EXPECT_FALSE(r.line.isBusy());
}

// Stray bytes at a turnaround before every part: the page is read as sent, and
// the traffic monitor shows the stray bytes of each part.
TEST(TrendLineFrames, StrayBytesBeforeThePartsAreShownInTheTrafficLog) {
    LineRig r;
    r.port.responder = [](const QByteArray &frame) {
        if (frame.size() < 6 || quint8(frame[3]) < 10) return QByteArray();
        return QByteArray(1, '\xFF') + z5::testing::trendPart(7, quint8(frame[3]) - 10, 45, 3);
    };
    ASSERT_TRUE(r.trends.readPage(7));
    r.clock.advance(5000);
    ASSERT_EQ(r.trends.page().pageNumber, 7);
    EXPECT_EQ(r.trends.page().sample(239, 31), float(z5::testing::archiveSample(7, 239, 31) / 1000.0));
    EXPECT_EQ(r.trends.strayBytes(), 30);
    QStringList notes;
    for (int i = 0; i < r.line.traffic().size(); ++i)
        if (r.line.traffic().at(i).what.startsWith(QStringLiteral("лишние байты"))) notes << r.line.traffic().at(i).what;
    ASSERT_EQ(notes.size(), 30);
    EXPECT_EQ(notes.first(), QStringLiteral("лишние байты у части 1 графика: 1"));
}
