// The rotation of z5-sim's fault switches in long runs.
#include "SimFaultCycle.h"
#include "link/Link.h"
#include <gtest/gtest.h>
#include <QByteArray>

using z5sim::SimController;
using z5sim::SimFaultCycle;
using z5sim::SimOptions;

namespace {

// A block read of station 1 with its check value.
const QByteArray kBlockRead = QByteArray::fromHex("0103040A0000F864");

struct Answers {
    int sent = 0;
    int intact = 0;   // whole, with a right check value, on time
};

bool checkHolds(const QByteArray &r) {
    if (r.size() != 260) return false;
    const auto crc = z5::Link::checkValueOf(r, 258);
    return std::uint8_t(r[258]) == (crc & 0xFF) && std::uint8_t(r[259]) == (crc >> 8);
}

// Sends ten block reads in the given phase and sorts what comes back.
Answers tenReadsIn(int phase) {
    SimOptions options;
    SimFaultCycle::apply(phase, options);
    SimController sim(options);
    Answers a;
    std::int64_t now = 1000;
    for (int i = 0; i < 10; ++i) {
        now += 300;
        for (const auto &o : sim.receive(kBlockRead, now)) {
            ++a.sent;
            if (checkHolds(o.bytes) && o.delayMs == options.replyDelayMs) ++a.intact;
        }
    }
    return a;
}

} // namespace

TEST(SimFaultCycle, EveryPhaseHasItsOwnFaultAndTheRotationWraps) {
    struct Row {
        const char *name;
        int sent;
        int intact;
    };
    const Row rows[SimFaultCycle::kPhases] = {
        {"none", 10, 10}, {"drop", 7, 7}, {"late", 10, 0}, {"corrupt", 10, 5}, {"short", 10, 7}, {"silence", 0, 0},
    };
    int phase = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(SimFaultCycle::name(phase), row.name);
        const Answers a = tenReadsIn(phase);
        EXPECT_EQ(a.sent, row.sent);
        EXPECT_EQ(a.intact, row.intact);
        phase = SimFaultCycle::next(phase);
    }
    EXPECT_EQ(phase, 0);
    EXPECT_STREQ(SimFaultCycle::name(-1), "none");
    EXPECT_STREQ(SimFaultCycle::name(SimFaultCycle::kPhases), "none");
}

TEST(SimFaultCycle, APhaseClearsWhatThePreviousOneLeft) {
    SimOptions options;
    options.station = 3;
    SimFaultCycle::apply(5, options);   // silence
    SimFaultCycle::apply(0, options);
    EXPECT_EQ(options.dropReplies, 0);
    EXPECT_EQ(options.lateMs, 0);
    EXPECT_EQ(options.corruptReplies, 0);
    EXPECT_EQ(options.shortReplies, 0);
    EXPECT_EQ(options.station, 3);
}
