// The station search on a line of several simulated controllers, on the
// virtual clock: which stations answer, which stay silent, send a damaged
// answer or answer twice under one number, and what an echoing line does.
#include "LineBench.h"
#include "ReplyFrames.h"
#include "link/StationScan.h"
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace z5;

namespace {

using A = StationScan::Answer;

// One thing a station sends after a request: `bytes` `afterMs` after it.
struct Sent {
    int afterMs;
    QByteArray bytes;
};
using FarEnd = std::function<std::vector<Sent>(int station)>;

QByteArray replyOf(int station, char fill = 0) {
    QByteArray r = testframes::blockReply(fill);
    r[0] = char(station);
    const std::uint16_t crc = Link::checkValueOf(r.left(258));
    r[258] = char(crc & 0xFF);
    r[259] = char(crc >> 8);
    return r;
}

QByteArray wrongCheck(QByteArray reply) {
    reply[259] = char(reply[259] ^ 0x5A);
    return reply;
}

// Two replies sent over each other, piece by piece, as two transmitters garble the line.
QByteArray interleaved(const QByteArray &a, const QByteArray &b) {
    QByteArray out;
    for (int at = 0; at < a.size(); at += 64) out += a.mid(at, 64) + b.mid(at, 64);
    return out;
}

// The line with its stations: whatever a station sends after a request arrives at its time.
struct ScanRig : LineBench {
    FarEnd farEnd;
    std::vector<std::unique_ptr<Timer>> deliveries;
    StationScan scan{clock, line};

    ScanRig() {
        port.notifiesArrivals = true;
        port.responder = [this](const QByteArray &written) {
            if (written.size() != 8 || !farEnd) return QByteArray();
            for (const Sent &s : farEnd(static_cast<std::uint8_t>(written[0]))) {
                deliveries.push_back(clock.createTimer());
                Timer *t = deliveries.back().get();
                const QByteArray bytes = s.bytes;
                t->setOnTimeout([this, t, bytes] {
                    t->stop();
                    port.deliver(bytes);
                });
                t->start(s.afterMs);
            }
            return QByteArray();
        };
    }
    // The station byte of every request that went out, in order.
    std::vector<int> asked() const {
        std::vector<int> out;
        for (const auto &w : port.writes())
            if (w.bytes.size() == 8) out.push_back(static_cast<std::uint8_t>(w.bytes[0]));
        return out;
    }
};

struct Row {
    const char *name;
    std::vector<int> stations;
    FarEnd farEnd;
    std::vector<A> answers;        // one per station, in the order asked
    std::vector<int> asked;        // the station of every request that went out
    std::int64_t endedByMs;        // the search is over by then (virtual time)
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

class StationScanRows : public ::testing::TestWithParam<Row> {};

} // namespace

namespace z5 {
void PrintTo(StationScan::Answer answer, std::ostream *os) { *os << StationScan::answerText(answer).toStdString(); }
} // namespace z5

TEST_P(StationScanRows, JudgesEachStationByWhatCameForIt) {
    const Row &row = GetParam();
    ScanRig rig;
    rig.farEnd = row.farEnd;
    std::int64_t endedAt = -1;
    QObject::connect(&rig.scan, &StationScan::finished, [&](LineOutcome) { endedAt = rig.clock.nowMs(); });
    rig.scan.start(row.stations);
    rig.clock.advance(20000);
    ASSERT_GE(endedAt, 0) << "the search never ended";
    EXPECT_EQ(rig.scan.outcome(), LineOutcome::Reply);
    EXPECT_LE(endedAt, row.endedByMs);
    std::vector<A> answers;
    for (const StationScan::Result &r : rig.scan.results()) answers.push_back(r.answer);
    EXPECT_EQ(answers, row.answers);
    EXPECT_EQ(rig.asked(), row.asked);
    // The station chosen in the settings is left alone, and the next request goes to it.
    EXPECT_EQ(rig.line.settings().station, 1);
    EXPECT_FALSE(rig.line.isBusy());
    rig.port.clearWrites();
    rig.line.enqueue(Request::blockRead(4));
    ASSERT_EQ(rig.port.writes().size(), 1u);
    EXPECT_EQ(rig.port.writes().front().bytes[0], char(1));
}

INSTANTIATE_TEST_SUITE_P(
    Line, StationScanRows,
    ::testing::Values(
        // 200 ms each and the poll's 5: well inside two seconds.
        Row{"eight_silent_stations", {1, 2, 3, 4, 5, 6, 7, 8}, [](int) { return std::vector<Sent>{}; },
            std::vector<A>(8, A::Silent), {1, 2, 3, 4, 5, 6, 7, 8}, 1700},
        Row{"present_silent_damaged_and_conflict",
            {1, 2, 3, 4, 5, 6, 7},
            [](int s) -> std::vector<Sent> {
                switch (s) {
                case 1: return {{25, replyOf(1)}};
                case 3: return {{25, wrongCheck(replyOf(3))}};
                case 4: return {{25, replyOf(4)}, {30, replyOf(4, 7)}};           // two controllers, one after the other
                case 5: return {{25, interleaved(replyOf(5), replyOf(5, 7))}};    // two controllers over each other
                case 6: return {{25, replyOf(6).left(259)}};                       // a byte short
                case 7: return {{25, QByteArray(1064, char(3))}};                  // U1 is a trend recorder there
                default: return {};
                }
            },
            {A::Present, A::Silent, A::Damaged, A::Conflict, A::Conflict, A::Damaged, A::Present}, {1, 2, 3, 4, 5, 6, 7}, 1500},
        // A converter that sends every reply again back to back: still one controller.
        Row{"copy_back_to_back", {2}, [](int) { return std::vector<Sent>{{25, replyOf(2)}, {48, replyOf(2)}}; },
            {A::Present}, {2}, 300},
        // The copy of station 1's reply comes while station 2 is asked: station 2 is asked again.
        Row{"late_copy_is_no_answer_of_the_next_station",
            {1, 2, 3},
            [](int s) -> std::vector<Sent> {
                if (s == 1) return {{25, replyOf(1)}, {150, replyOf(1)}};
                return {};
            },
            {A::Present, A::Silent, A::Silent}, {1, 2, 2, 3}, 1300},
        Row{"late_copies_between_answering_stations",
            {1, 2, 3},
            [](int s) -> std::vector<Sent> {
                if (s == 3) return {};
                return {{25, replyOf(s)}, {150, replyOf(s)}};
            },
            {A::Present, A::Present, A::Silent}, {1, 2, 2, 3, 3}, 2000},
        // Two controllers that answer alike, on a line that does not echo: asked again, both answer.
        Row{"neighbours_that_answer_alike",
            {1, 2},
            [](int) { return std::vector<Sent>{{25, replyOf(9)}}; },
            {A::Present, A::Present}, {1, 2, 2}, 1000}),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

TEST(StationScan, APortThatDoesNotOpenEndsTheSearchSayingWhy) {
    ScanRig rig;
    rig.port.refuseOpen = true;
    rig.scan.start({1, 2});
    EXPECT_FALSE(rig.scan.isRunning());
    EXPECT_EQ(rig.scan.outcome(), LineOutcome::NoNetwork);
    EXPECT_EQ(rig.scan.failure(), QStringLiteral("no such device"));
    EXPECT_TRUE(rig.scan.results().empty());
}
