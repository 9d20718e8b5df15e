#include "TrendRig.h"
#include "trends/TrendPageAssembler.h"
#include "trends/TrendSession.h"
#include <gtest/gtest.h>
#include <optional>

using namespace z5;
using z5::testing::archiveSample;
using z5::testing::ScriptedTrendLine;
using Fault = ScriptedTrendLine::Fault;

namespace {

struct AssemblyRig {
    VirtualClock clock;
    ScriptedTrendLine line{clock};
    TrendSession session{clock, line};
    std::optional<TrendSession::Outcome> outcome;
    std::int64_t endedAt = -1;

    AssemblyRig() {
        session.setBlock(5);
        QObject::connect(&session, &TrendSession::readEnded, [this](TrendSession::Outcome o) {
            outcome = o;
            endedAt = clock.nowMs();
        });
    }
    void read(int page) {
        session.readPage(page);
        clock.advance(20000);
    }
    // Every sample of every valid row sits where the archive has it.
    void expectWholePage(int page) const {
        const TrendPage &p = session.page();
        for (int r = 0; r < TrendPage::kRows; ++r)
            for (int c = 0; c < TrendPage::kChannels; ++c)
                ASSERT_EQ(p.sample(r, c), float(archiveSample(page, r, c) / 1000.0)) << "row " << r << " channel " << c;
    }
};

struct FaultCase {
    const char *name;
    std::map<int, Fault> faults;
    int expectedRequests;
};

std::map<int, Fault> everyAnswerLate() {
    std::map<int, Fault> faults;
    for (int i = 1; i <= 120; ++i) faults[i] = Fault::Late;
    return faults;
}

class PageAssemblyFaults : public ::testing::TestWithParam<FaultCase> {};

} // namespace

// One request at a time, part n + 1 one tick after part n is in; all 30 parts
// by part number, the times from parts 0, 7, 14 and 23.
TEST(PageAssembly, CleanReadAsksEachPartOnceAfterThePreviousArrived) {
    AssemblyRig r;
    r.read(17);
    ASSERT_EQ(r.outcome, TrendSession::Outcome::Read);
    ASSERT_EQ(r.line.requests.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(r.line.requests[i].part, i);
        EXPECT_EQ(r.line.requests[i].page, 17);
        EXPECT_EQ(r.line.requests[i].column, 5);
        if (i > 0) {
            EXPECT_GE(r.line.requests[i].at - r.line.requests[i - 1].at, ScriptedTrendLine::kAnswerMs);
        }
    }
    EXPECT_LE(r.endedAt, 30 * (ScriptedTrendLine::kAnswerMs + 2 * TrendPageAssembler::kTickMs));
    r.expectWholePage(17);
    const TrendPage &p = r.session.page();
    EXPECT_EQ(p.pageNumber, 17);
    EXPECT_EQ(p.rowCount, 240) << "an older page than the one recorded is full";
    EXPECT_EQ(p.dateText(), QStringLiteral("6 / 12 / 26"));
    EXPECT_EQ(p.timeText(0), QStringLiteral("8 : 10 : 0"));
    EXPECT_EQ(p.timeText(1), QStringLiteral("8 : 17 : 7"));
    EXPECT_EQ(p.timeText(2), QStringLiteral("8 : 24 : 14"));
    EXPECT_EQ(p.timeText(3), QStringLiteral("8 : 33 : 23"));
}

TEST_P(PageAssemblyFaults, EverySampleStaysInItsPlace) {
    AssemblyRig r;
    r.line.faults = GetParam().faults;
    r.read(17);
    ASSERT_EQ(r.outcome, TrendSession::Outcome::Read);
    if (GetParam().expectedRequests > 0) {
        EXPECT_EQ(int(r.line.requests.size()), GetParam().expectedRequests);
    }
    r.expectWholePage(17);
    for (const auto &q : r.line.requests) EXPECT_EQ(q.page, 17);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PageAssemblyFaults,
    ::testing::Values(FaultCase{"dropped", {{6, Fault::Drop}}, 31},
                      FaultCase{"late", {{6, Fault::Late}}, 31},
                      FaultCase{"doubled", {{6, Fault::Double}}, 30},
                      FaultCase{"doubled streaming", {{6, Fault::DoubleStreaming}}, 30},
                      FaultCase{"short", {{6, Fault::Short}}, 31},
                      FaultCase{"another page", {{6, Fault::OtherPage}}, 31},
                      FaultCase{"every answer late", everyAnswerLate(), -1},
                      FaultCase{"first and last dropped", {{1, Fault::Drop}, {31, Fault::Drop}}, 32},
                      FaultCase{"dropped twice in a row", {{6, Fault::Drop}, {7, Fault::Drop}}, 32},
                      FaultCase{"one in ten dropped", {{1, Fault::Drop}, {11, Fault::Drop}, {21, Fault::Drop}}, 33}),
    [](const ::testing::TestParamInfo<FaultCase> &info) {
        std::string n = info.param.name;
        for (char &ch : n)
            if (ch == ' ') ch = '_';
        return n;
    });

// The page being recorded: part 0 says which page and how many rows; the rest
// is asked for by that number, so a page that fills up meanwhile is not mixed.
TEST(PageAssembly, RecordingPageRowCountAndLaterPartsByNumber) {
    AssemblyRig r;
    r.line.rowsRecorded = 45;
    r.read(TrendSession::kCurrentPage);
    ASSERT_EQ(r.outcome, TrendSession::Outcome::Read);
    EXPECT_EQ(r.line.requests[0].page, 0);
    EXPECT_EQ(r.line.requests[1].page, 3);
    EXPECT_EQ(r.session.page().rowCount, 40);
    EXPECT_EQ(r.session.page().pageNumber, 3);
    EXPECT_EQ(r.session.pageNumber(), 3);
}

TEST(PageAssembly, RowCountOfTheRecordingPageIsClampedTo240) {
    AssemblyRig r;
    r.line.rowsRecorded = 255;
    r.read(3);
    EXPECT_EQ(r.session.page().rowCount, 240);
}

// A page that never completes: the shown page, its times, rows and number stay,
// polling stops and the user is told why.
TEST(PageAssembly, StalledReadEndsAndKeepsThePreviousPage) {
    AssemblyRig r;
    r.read(17);
    const TrendPage before = r.session.page();
    for (int i = 1; i <= 200; ++i) r.line.faults[30 + i] = i % 3 == 0 ? Fault::Short : Fault::Drop;
    r.outcome.reset();
    const std::int64_t start = r.clock.nowMs();
    r.session.readPage(18);
    r.clock.advance(60000);
    ASSERT_EQ(r.outcome, TrendSession::Outcome::NoReply);
    EXPECT_EQ(r.endedAt - start, TrendPageAssembler::kStallMs);
    EXPECT_EQ(r.session.lastFailureText(), QStringLiteral("Нет ответа от Z5"));
    EXPECT_EQ(r.session.page().samples, before.samples);
    EXPECT_EQ(r.session.page().time, before.time);
    EXPECT_EQ(r.session.page().pageNumber, 17);
    EXPECT_FALSE(r.session.reading());
    const auto sent = r.line.requests.size();
    r.clock.advance(5000);
    EXPECT_EQ(r.line.requests.size(), sent) << "no request after the read ended";
}

TEST(PageAssembly, PortThatDoesNotOpenEndsAtOnceWithNoNetwork) {
    AssemblyRig r;
    r.line.refuseOpen = true;
    EXPECT_FALSE(r.session.readPage(12));
    EXPECT_EQ(r.outcome, TrendSession::Outcome::NoNetwork);
    EXPECT_EQ(r.session.lastFailureText(), QStringLiteral("Нет сети!!!"));
    EXPECT_FALSE(r.session.reading());
    EXPECT_EQ(r.clock.activeTimers(), 0);
}

// Stray bytes that come with a part leave every sample where it was sent; they
// are counted and told. Where the bytes that came hold no part that fits, or two
// different ones, the part is asked for again.
TEST(PageAssembly, StrayBytesAroundAPartAreFoundCountedAndTold) {
    struct Row {
        const char *name;
        Fault fault;
        int strayBytes;
        int requests;
    };
    const std::vector<Row> rows = {
        {"two bytes before", Fault::StrayBefore, 2, 30},
        {"two bytes after", Fault::StrayAfter, 2, 30},
        {"shifted by a lost byte", Fault::Shifted, 0, 31},
        {"two parts that fit", Fault::LookAlike, 0, 31},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        AssemblyRig r;
        r.line.faults = {{6, row.fault}};
        r.read(17);
        ASSERT_EQ(r.outcome, TrendSession::Outcome::Read);
        r.expectWholePage(17);
        EXPECT_EQ(int(r.line.requests.size()), row.requests);
        EXPECT_EQ(r.session.strayBytes(), row.strayBytes);
        if (row.strayBytes > 0) {
            ASSERT_EQ(r.line.strays.size(), 1u);
            EXPECT_EQ(r.line.strays[0].first, 5);
            EXPECT_EQ(r.line.strays[0].second, QByteArray(row.strayBytes, char(0x03)));
        }
    }
}

// A stray byte before every part: page 4 (whose number a shifted part would
// carry in the page byte) is still read exactly, without a request more.
TEST(PageAssembly, AStrayByteBeforeEveryPartCostsNoRequest) {
    AssemblyRig r;
    for (int i = 1; i <= 30; ++i) r.line.faults[i] = Fault::StrayBefore;
    r.line.strayCount = 1;
    r.read(4);
    ASSERT_EQ(r.outcome, TrendSession::Outcome::Read);
    r.expectWholePage(4);
    EXPECT_EQ(r.line.requests.size(), 30u);
    EXPECT_EQ(r.session.strayBytes(), 30);
    EXPECT_LE(r.endedAt, 30 * (ScriptedTrendLine::kAnswerMs + 2 * TrendPageAssembler::kTickMs));
}
