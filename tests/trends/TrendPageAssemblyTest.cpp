#include "TrendRig.h"
#include "trends/TrendPageAssembler.h"
#include "trends/TrendSession.h"
#include <gtest/gtest.h>
#include <optional>

using namespace z5;
using z5::testing::archiveSample;
using z5::testing::ScriptedRecorder;
using Fault = ScriptedRecorder::Fault;

namespace {

struct AssemblyRig : z5::testing::TrendBench {
    std::optional<LineOutcome> outcome;
    std::int64_t endedAt = -1;

    AssemblyRig() {
        session.setBlock(5);
        QObject::connect(&session, &TrendSession::readEnded, [this](LineOutcome o) {
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
void PrintTo(const FaultCase &row, std::ostream *os) { *os << row.name; }

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
    ASSERT_EQ(r.outcome, LineOutcome::Reply);
    ASSERT_EQ(r.recorder.requests.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(r.recorder.requests[i].part, i);
        EXPECT_EQ(r.recorder.requests[i].page, 17);
        EXPECT_EQ(r.recorder.requests[i].column, 5);
        if (i > 0) {
            EXPECT_GE(r.recorder.requests[i].at - r.recorder.requests[i - 1].at, ScriptedRecorder::kAnswerMs);
        }
    }
    EXPECT_LE(r.endedAt, 30 * (ScriptedRecorder::kAnswerMs + 2 * TrendPageAssembler::kQuietGapMs));
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
    r.recorder.faults = GetParam().faults;
    r.read(17);
    ASSERT_EQ(r.outcome, LineOutcome::Reply);
    if (GetParam().expectedRequests > 0) {
        EXPECT_EQ(int(r.recorder.requests.size()), GetParam().expectedRequests);
    }
    r.expectWholePage(17);
    for (const auto &q : r.recorder.requests) EXPECT_EQ(q.page, 17);
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
    r.recorder.rowsRecorded = 45;
    r.read(TrendSession::kCurrentPage);
    ASSERT_EQ(r.outcome, LineOutcome::Reply);
    EXPECT_EQ(r.recorder.requests[0].page, 0);
    EXPECT_EQ(r.recorder.requests[1].page, 3);
    EXPECT_EQ(r.session.page().rowCount, 40);
    EXPECT_EQ(r.session.page().pageNumber, 3);
    EXPECT_EQ(r.session.pageNumber(), 3);
}

TEST(PageAssembly, RowCountOfTheRecordingPageIsClampedTo240) {
    AssemblyRig r;
    r.recorder.rowsRecorded = 255;
    r.read(3);
    EXPECT_EQ(r.session.page().rowCount, 240);
}

// A page that never completes: the shown page, its times, rows and number stay,
// polling stops and the user is told why.
TEST(PageAssembly, StalledReadEndsAndKeepsThePreviousPage) {
    AssemblyRig r;
    r.read(17);
    const TrendPage before = r.session.page();
    for (int i = 1; i <= 200; ++i) r.recorder.faults[30 + i] = i % 3 == 0 ? Fault::Short : Fault::Drop;
    r.outcome.reset();
    const std::int64_t start = r.clock.nowMs();
    r.session.readPage(18);
    r.clock.advance(60000);
    ASSERT_EQ(r.outcome, LineOutcome::NoReply);
    EXPECT_EQ(r.endedAt - start, TrendPageAssembler::kStallMs);
    EXPECT_EQ(r.session.lastFailureText(), QStringLiteral("Нет ответа от Z5"));
    EXPECT_EQ(r.session.page().samples, before.samples);
    EXPECT_EQ(r.session.page().time, before.time);
    EXPECT_EQ(r.session.page().pageNumber, 17);
    EXPECT_FALSE(r.session.reading());
    const auto sent = r.recorder.requests.size();
    r.clock.advance(5000);
    EXPECT_EQ(r.recorder.requests.size(), sent) << "no request after the read ended";
}

TEST(PageAssembly, PortThatDoesNotOpenEndsAtOnceWithNoNetwork) {
    AssemblyRig r;
    r.port.refuseOpen = true;
    EXPECT_FALSE(r.session.readPage(12));
    EXPECT_EQ(r.outcome, LineOutcome::NoNetwork);
    EXPECT_EQ(r.session.lastFailureText(), QStringLiteral("Нет сети!!!\nno such device"));
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
        r.recorder.faults = {{6, row.fault}};
        r.read(17);
        ASSERT_EQ(r.outcome, LineOutcome::Reply);
        r.expectWholePage(17);
        EXPECT_EQ(int(r.recorder.requests.size()), row.requests);
        EXPECT_EQ(r.session.strayBytes(), row.strayBytes);
        QStringList notes;
        for (int i = 0; i < r.line.traffic().size(); ++i)
            if (r.line.traffic().at(i).what.startsWith(QStringLiteral("лишние байты"))) notes << r.line.traffic().at(i).what;
        if (row.strayBytes > 0) {
            EXPECT_EQ(notes, QStringList{QStringLiteral("лишние байты у части 6 графика: %1").arg(row.strayBytes)});
        } else {
            EXPECT_TRUE(notes.isEmpty());
        }
    }
}

// A stray byte before every part: page 4 (whose number a shifted part would
// carry in the page byte) is still read exactly, without a request more.
TEST(PageAssembly, AStrayByteBeforeEveryPartCostsNoRequest) {
    AssemblyRig r;
    for (int i = 1; i <= 30; ++i) r.recorder.faults[i] = Fault::StrayBefore;
    r.recorder.strayCount = 1;
    r.read(4);
    ASSERT_EQ(r.outcome, LineOutcome::Reply);
    r.expectWholePage(4);
    EXPECT_EQ(r.recorder.requests.size(), 30u);
    EXPECT_EQ(r.session.strayBytes(), 30);
    EXPECT_LE(r.endedAt, 30 * (ScriptedRecorder::kAnswerMs + 2 * TrendPageAssembler::kQuietGapMs));
}

// Parts alike in every sample and time: a copy of the part just taken may be a
// doubled answer, so each is asked for once more, but the read goes on at the
// part timeout's pace and every part is placed.
TEST(PageAssembly, PartsAlikeCostOneRepeatEachAndNeverStall) {
    AssemblyRig r;
    r.recorder.partsAlike = true;
    r.read(17);
    ASSERT_EQ(r.outcome, LineOutcome::Reply);
    EXPECT_EQ(r.recorder.requests.size(), 30u + 29u);
    EXPECT_LE(r.endedAt, 30 * (ScriptedRecorder::kAnswerMs + 2) + 29 * TrendPageAssembler::kPartTimeoutMs);
    const TrendPage &p = r.session.page();
    for (int row = 0; row < TrendPage::kRows; ++row)
        ASSERT_EQ(p.sample(row, 3), float(archiveSample(17, row % 8, 3) / 1000.0)) << "row " << row;
}
