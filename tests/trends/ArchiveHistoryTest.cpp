// The stored pages as one history: rows placed by their pages' time marks, in
// time order, cut by a range, and broken where no row covers the time between two pages.
#include "DatedPages.h"
#include "trends/ArchiveHistory.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCsv.h"
#include <gtest/gtest.h>

using namespace z5;
using z5::testing::at;
using z5::testing::datedPage;

namespace {

struct Placement {
    const char *name;
    std::vector<ArchivedPage> pages;
    QDateTime from, to;
    int rows;
    const char *first;
    const char *last;
    std::vector<int> gapsAt;     // rows that do not go on from the one before (row 0 aside)
};

} // namespace

TEST(ArchiveHistory, RowsArePlacedInTimeAndBrokenOnlyWhereNoRowCoversTheTime) {
    const Placement cases[] = {
        {"adjacent pages are one run",
         {datedPage(4, at("2026-12-06T10:40:00"), 10, 240), datedPage(3, at("2026-12-06T10:00:00"), 10, 240)},
         {}, {}, 480, "2026-12-06 10:00:00", "2026-12-06 11:19:50", {}},
        {"two hours between pages are a gap",
         {datedPage(3, at("2026-12-06T10:00:00"), 10, 240), datedPage(4, at("2026-12-06T12:00:00"), 10, 240)},
         {}, {}, 480, "2026-12-06 10:00:00", "2026-12-06 12:39:50", {240}},
        {"a page across midnight goes on into the next day",
         {datedPage(7, at("2026-12-06T23:30:00"), 10, 240)},
         {}, {}, 240, "2026-12-06 23:30:00", "2026-12-07 00:09:50", {}},
        {"a range cuts a page and keeps the rows inside it",
         {datedPage(3, at("2026-12-06T10:00:00"), 10, 240), datedPage(4, at("2026-12-06T10:40:00"), 10, 240)},
         at("2026-12-06T10:20:00"), at("2026-12-06T10:45:00"), 151, "2026-12-06 10:20:00", "2026-12-06 10:45:00", {}},
        {"a page recorded in part leaves a gap up to the next page",
         {datedPage(3, at("2026-12-06T10:00:00"), 10, 100), datedPage(4, at("2026-12-06T10:40:00"), 10, 20)},
         {}, {}, 120, "2026-12-06 10:00:00", "2026-12-06 10:43:10", {100}},
        {"a slower page joins at its own pace",
         {datedPage(3, at("2026-12-06T10:00:00"), 10, 240), datedPage(4, at("2026-12-06T10:40:30"), 60, 240)},
         {}, {}, 480, "2026-12-06 10:00:00", "2026-12-06 14:39:30", {}},
        {"a page begun before the last one ended is joined to nothing",
         {datedPage(3, at("2026-12-06T10:00:00"), 10, 240), datedPage(4, at("2026-12-06T10:39:45"), 10, 1)},
         {}, {}, 241, "2026-12-06 10:00:00", "2026-12-06 10:39:50", {239, 240}},
        {"a range between pages holds nothing",
         {datedPage(3, at("2026-12-06T10:00:00"), 10, 240), datedPage(4, at("2026-12-06T12:00:00"), 10, 240)},
         at("2026-12-06T11:00:00"), at("2026-12-06T11:59:59"), 0, "", "", {}},
    };
    for (const Placement &c : cases) {
        SCOPED_TRACE(c.name);
        const ArchiveHistory h = ArchiveHistory::fromPages(c.pages, c.from, c.to);
        ASSERT_EQ(h.rowCount(), c.rows);
        if (c.rows == 0) continue;
        EXPECT_EQ(ArchiveHistory::timeText(h.first()), QString::fromLatin1(c.first));
        EXPECT_EQ(ArchiveHistory::timeText(h.last()), QString::fromLatin1(c.last));
        std::vector<int> gaps;
        for (int r = 1; r < h.rowCount(); ++r) {
            EXPECT_LT(h.secondsAt(r - 1), h.secondsAt(r)) << "row " << r;
            if (!h.joinsPrevious(r)) gaps.push_back(r);
        }
        EXPECT_FALSE(h.joinsPrevious(0));
        EXPECT_EQ(gaps, c.gapsAt);
        EXPECT_EQ(h.gapCount(), int(c.gapsAt.size()));
        // Every row is its page's own: its samples name the page and the row.
        for (int r : {0, h.rowCount() / 2, h.rowCount() - 1})
            EXPECT_FLOAT_EQ(h.sample(r, 5), z5::testing::datedSample(h.pageNumberAt(r), h.pageRowAt(r), 5));
    }
}

TEST(ArchiveHistory, FindsRowsByTimeAndWritesThemAsATableWithDateAndTime) {
    ArchivedPage three = datedPage(3, at("2026-12-06T23:59:50"), 10, 3);
    three.page.setSample(1, 2, TrendPage::kMissingLimit);
    const ArchiveHistory h = ArchiveHistory::fromPages({datedPage(4, at("2026-12-07T01:00:00"), 10, 1), three});
    EXPECT_EQ(h.firstRowFrom(at("2026-12-06T23:59:55").toSecsSinceEpoch()), 1);
    EXPECT_EQ(h.firstRowFrom(at("2026-12-07T00:00:00").toSecsSinceEpoch()), 1);
    EXPECT_EQ(h.firstRowFrom(at("2026-12-08T00:00:00").toSecsSinceEpoch()), 4);
    TrendChannels channels;
    channels.names[0] = QStringLiteral("T, котёл");
    const QList<QByteArray> lines = TrendCsv::build(h, channels).split('\n');
    ASSERT_EQ(lines.size(), 6);   // header, four rows, nothing after the last CR LF
    EXPECT_TRUE(lines[0].startsWith("row,time,\"T, котёл\",2,3,")) << lines[0].constData();
    EXPECT_TRUE(lines[1].startsWith("1,2026-12-06 23:59:50,3000.000,3000.010,3000.020,")) << lines[1].constData();
    EXPECT_TRUE(lines[2].startsWith("2,2026-12-07 00:00:00,3001.000,3001.010,,3001.030,")) << "a missing sample is empty";
    EXPECT_TRUE(lines[4].startsWith("4,2026-12-07 01:00:00,4000.000,")) << "no row is made up for the gap";
    EXPECT_TRUE(lines[4].endsWith(",4000.310\r"));
}
