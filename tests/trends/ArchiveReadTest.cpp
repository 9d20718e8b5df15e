// Reading the archive page after page on the virtual clock: what is stored, what
// is read again after an unplug, a part that does not come, a restart, and the
// recording moving on to the next page during the run.
#include "TrendRig.h"
#include "link/AdapterWatch.h"
#include "link/Request.h"
#include "trends/ArchiveRead.h"
#include "trends/TrendPageTimes.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace z5;
using Fault = z5::testing::ScriptedRecorder::Fault;

namespace {

// Pages kept in memory, every put counted.
struct MemoryPages : ArchivePages {
    std::map<qint64, ArchivedPage> kept;
    int puts = 0;
    bool has(const ArchivePageKey &key) const override {
        const auto it = kept.find(key.start.toSecsSinceEpoch());
        return it != kept.end() && it->second.finished;
    }
    Put put(const ArchivedPage &page, QString *) override {
        ++puts;
        const auto it = kept.find(page.key.start.toSecsSinceEpoch());
        if (it != kept.end() && it->second.finished) return Put::AlreadyStored;
        const Put how = it == kept.end() ? Put::Stored : Put::Replaced;
        kept[page.key.start.toSecsSinceEpoch()] = page;
        return how;
    }
    std::vector<ArchivedPage> pages(int, int, const QDateTime &, const QDateTime &) const override { return {}; }
};

struct ArchiveRig : z5::testing::TrendBench {
    MemoryPages store;
    QTemporaryDir dir;
    QString adapter = dir.filePath(QStringLiteral("usb-adapter"));
    std::optional<std::pair<int, int>> heard;   // (page, part) of the latest request
    int interruptions = 0;

    ArchiveRig() {
        recorder.datedPages = true;
        recorder.onRequest = [this](const z5::testing::ScriptedRecorder::Request &r) { heard = std::make_pair(r.page, r.part); };
        QFile::link(QStringLiteral("/dev/null"), adapter);
        LineSessionProbe::openPort(line, adapter);
    }
    // One run of a program: pages first..last, to its end or for at most `ms`.
    std::optional<LineOutcome> run(int first, int last, const std::function<void(ArchiveRead &)> &during = {}) {
        ArchiveRead archive(clock, line, store);
        std::optional<LineOutcome> ended;
        QObject::connect(&archive, &ArchiveRead::finished, [&](LineOutcome o) { ended = o; });
        QObject::connect(&archive, &ArchiveRead::interrupted, [this] { ++interruptions; });
        archive.start(1, 10, first, last);
        for (int ms = 0; ms < 120000 && !ended; ++ms) {
            clock.advance(1);
            if (during) during(archive);
        }
        return ended;
    }
    void unplugFor(int ms) {
        port.fail(QStringLiteral("Порт пропал: устройство отключено."), true);
        port.refuseOpen = true;
        QFile::remove(adapter);
        clock.advance(ms);
        QFile::link(QStringLiteral("/dev/null"), adapter);
        port.refuseOpen = false;
    }
    // Requests for a (page, part) asked for before in this run.
    int repeats() const {
        std::map<std::pair<int, int>, int> seen;
        int again = 0;
        for (const auto &r : recorder.requests)
            if (seen[{r.page, r.part}]++ > 0) ++again;
        return again;
    }
};

struct ResumeCase {
    const char *name;
    int first, last;
    int earlierRunTo;                          // a run over 1..this before (a restart); 0 none
    std::vector<std::pair<int, int>> unplugs;  // when (page, part) is asked for
    std::pair<int, int> silentFrom;            // from this (page, part) on, 40 requests unanswered
    std::pair<int, int> rollAt;                // recording moves on to page 4 here
    int pagesReadAgain;                        // whole pages read again on purpose
    std::vector<int> unfinished;               // stored while being recorded
};
void PrintTo(const ResumeCase &row, std::ostream *os) { *os << row.name; }

class ArchiveResume : public ::testing::TestWithParam<ResumeCase> {};

} // namespace

TEST_P(ArchiveResume, EveryPageStoredOnceAndWholeWithAtMostThePartUnderWayReadAgain) {
    const ResumeCase &c = GetParam();
    ArchiveRig r;
    if (c.earlierRunTo > 0) {
        ASSERT_EQ(r.run(1, c.earlierRunTo), LineOutcome::Reply);
        r.recorder.requests.clear();
    }
    const int putsBefore = r.store.puts;
    std::size_t nextUnplug = 0;
    int dropped = 0;
    std::optional<std::pair<int, int>> acted;
    const auto ended = r.run(c.first, c.last, [&](ArchiveRead &) {
        if (!r.heard || r.heard == acted) return;
        acted = r.heard;
        if (*r.heard == c.rollAt) {
            r.recorder.recordingPage = 4;
            r.recorder.rowsRecorded = 16;
        }
        if (*r.heard == c.silentFrom)
            for (int i = 0; i < 40; ++i) r.recorder.faults[int(r.recorder.requests.size()) + i] = Fault::Drop, ++dropped;
        if (nextUnplug < c.unplugs.size() && *r.heard == c.unplugs[nextUnplug]) {
            ++nextUnplug;
            r.unplugFor(2000);
        }
    });
    ASSERT_EQ(ended, LineOutcome::Reply);
    EXPECT_EQ(nextUnplug, c.unplugs.size());
    EXPECT_EQ(r.interruptions, int(c.unplugs.size()));
    EXPECT_FALSE(r.line.isBusy());

    // Every page of the range is kept once, under its own times, whole.
    std::map<int, int> perNumber;
    for (const auto &[start, kept] : r.store.kept) {
        ++perNumber[kept.page.pageNumber];
        EXPECT_EQ(TrendPageTimes::start(kept.page), kept.key.start);
        const bool recorded = std::count(c.unfinished.begin(), c.unfinished.end(), kept.page.pageNumber) > 0;
        EXPECT_EQ(kept.finished, !recorded) << "page " << kept.page.pageNumber;
        EXPECT_EQ(kept.page.rowCount, recorded ? r.recorder.rowsRecorded - r.recorder.rowsRecorded % 8 : 240);
        for (int row = 0; row < kept.page.rowCount; ++row)
            for (int ch = 0; ch < 32; ch += 31)
                ASSERT_FLOAT_EQ(kept.page.sample(row, ch),
                                float(z5::testing::archiveSample(kept.page.pageNumber, row, ch) / 1000.0))
                    << "page " << kept.page.pageNumber << " row " << row;
    }
    for (int p = std::min(c.first, c.earlierRunTo ? 1 : c.first); p <= std::max(c.last, c.earlierRunTo); ++p)
        EXPECT_EQ(perNumber[p], 1) << "page " << p;
    // A finished page stored before is only looked at (its first part), never stored again.
    for (int p = c.first; p <= c.earlierRunTo; ++p) {
        if (p == 3) continue;
        EXPECT_EQ(std::count_if(r.recorder.requests.begin(), r.recorder.requests.end(),
                                [p](const auto &q) { return q.page == p; }),
                  1)
            << "page " << p;
    }
    EXPECT_LE(r.store.puts - putsBefore, (c.last - c.first + 1) + c.pagesReadAgain);
    EXPECT_LE(r.repeats(), 30 * c.pagesReadAgain + int(c.unplugs.size()) + dropped);
}

INSTANTIATE_TEST_SUITE_P(
    Archive, ArchiveResume,
    ::testing::Values(
        ResumeCase{"clean_run", 1, 5, 0, {}, {}, {}, 0, {3}},
        ResumeCase{"unplug_at_first_part_of_a_page", 1, 4, 0, {{2, 0}}, {}, {}, 0, {3}},
        ResumeCase{"unplug_mid_page", 1, 4, 0, {{2, 17}}, {}, {}, 0, {3}},
        ResumeCase{"unplug_at_last_part_and_again_later", 1, 5, 0, {{1, 29}, {4, 3}}, {}, {}, 0, {3}},
        ResumeCase{"unplug_in_the_recorded_page", 2, 4, 0, {{3, 9}}, {}, {}, 0, {3}},
        ResumeCase{"a_part_that_does_not_come", 1, 3, 0, {}, {2, 5}, {}, 0, {3}},
        ResumeCase{"restart_skips_stored_pages_but_the_recorded_one", 1, 6, 4, {}, {}, {}, 1, {3}},
        ResumeCase{"restart_with_an_unplug", 2, 5, 4, {{5, 12}}, {}, {}, 1, {3}},
        // Page 4 starts being recorded while it is read: it is read again as the
        // recorded page, and page 3, stored while recorded, is read again finished.
        ResumeCase{"recording_moves_on_during_the_run", 1, 5, 0, {}, {}, {4, 10}, 2, {4}},
        ResumeCase{"recording_moves_on_and_an_unplug", 2, 5, 0, {{5, 2}}, {}, {3, 20}, 3, {4}}),
    [](const ::testing::TestParamInfo<ResumeCase> &info) { return std::string(info.param.name); });

// A block read asked for during the run goes out between two parts, not two
// pages, and the run goes on from the next part: nothing is read twice.
TEST(ArchiveRun, ARequestGivenDuringTheRunGoesOutBetweenTwoParts) {
    ArchiveRig r;
    std::shared_ptr<LineReply> click;
    std::size_t askedAt = 0;
    const auto ended = r.run(1, 3, [&](ArchiveRead &) {
        if (click || r.recorder.requests.size() < 40) return;
        askedAt = r.recorder.requests.size();
        click = r.line.enqueue(Request::blockRead(2));
    });
    ASSERT_EQ(ended, LineOutcome::Reply);
    ASSERT_TRUE(click && click->isFinished());
    // The block read is the only request for part 0 without a page number.
    const auto at = std::find_if(r.recorder.requests.begin(), r.recorder.requests.end(),
                                 [](const auto &q) { return q.page == 0; });
    ASSERT_NE(at, r.recorder.requests.end());
    const std::size_t index = std::size_t(at - r.recorder.requests.begin());
    EXPECT_EQ(index, askedAt) << "right after the part that was under way";
    EXPECT_EQ(r.recorder.requests.size(), 91u) << "three pages of 30 parts and the block read, none asked twice";
    EXPECT_EQ(r.store.kept.size(), 3u);
}
