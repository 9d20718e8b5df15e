// The record's archive pages: one page per identity, whole or not at all, the
// rows found again by time after the file is opened anew.
#include "TrendRig.h"
#include "record/ArchivePageStore.h"
#include "trends/TrendPageTimes.h"
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace z5;

namespace {

// Page `number` as read: dated by its place in time, `rows` valid rows.
ArchivedPage readPage(int number, int rows, bool finished) {
    ArchivedPage a;
    for (int part = 0; part < 30; ++part) {
        QByteArray bytes = z5::testing::trendPart(number, part);
        z5::testing::datePart(bytes, number, part);
        const std::optional<TrendPart> decoded = decodeTrendPart(bytes);
        for (int i = 0; i < TrendPart::kSamples; ++i)
            a.page.samples[std::size_t(part * TrendPart::kSamples + i)] = decoded->samples[std::size_t(i)];
        const int labels[4] = {0, 7, 14, 23};
        for (int k = 0; k < 4; ++k)
            if (labels[k] == part)
                for (int b = 0; b < 3; ++b) a.page.time[std::size_t(3 + 3 * k + b)] = decoded->timeOfDay[std::size_t(b)];
        if (part == 0) std::copy(decoded->date.begin(), decoded->date.end(), a.page.time.begin());
    }
    a.page.pageNumber = number;
    a.page.rowCount = rows;
    a.finished = finished;
    a.key = ArchivePageKey{1, 10, TrendPageTimes::start(a.page)};
    return a;
}

} // namespace

TEST(ArchiveStore, APageIsKeptOnceFinishedReplacedWhileRecordedAndFoundByTime) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("record.sqlite"));
    ArchivePageStore store;
    ASSERT_TRUE(store.open(file));
    const ArchivedPage two = readPage(2, 240, true);
    struct Step {
        ArchivedPage page;
        ArchivePages::Put how;
    };
    const Step steps[] = {
        {two, ArchivePages::Put::Stored},
        {two, ArchivePages::Put::AlreadyStored},                  // read on a second visit
        {readPage(3, 40, false), ArchivePages::Put::Stored},      // being recorded
        {readPage(3, 96, false), ArchivePages::Put::Replaced},    // further on
        {readPage(3, 240, true), ArchivePages::Put::Replaced},    // finished
        {readPage(3, 96, false), ArchivePages::Put::AlreadyStored},
    };
    for (const Step &s : steps) EXPECT_EQ(store.put(s.page), s.how) << s.page.page.pageNumber << "/" << s.page.page.rowCount;
    EXPECT_TRUE(store.has(two.key));
    EXPECT_FALSE(store.put(readPage(4, 8, false)) == ArchivePages::Put::Failed);
    EXPECT_FALSE(store.has(readPage(4, 8, false).key)) << "a page stored while recorded is read again";

    ArchivePageStore again;
    ASSERT_TRUE(again.open(file));
    const std::vector<ArchivedPage> all = again.pages(1, 10);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].page.rowCount, 240);
    EXPECT_EQ(all[1].page.time, readPage(3, 240, true).page.time);
    EXPECT_FLOAT_EQ(all[1].page.sample(239, 31), float(z5::testing::archiveSample(3, 239, 31) / 1000.0));
    EXPECT_TRUE(TrendPage::isMissing(all[2].page.sample(8, 0))) << "only the valid rows are kept";
    // Page 3 began at 4:00, its row 100 at 4:00 + 100 x 10 s; page 2 ran from 2:00 to 2:39:50.
    const QDateTime start3 = all[1].key.start;
    EXPECT_EQ(TrendPageTimes::rowTime(all[1].page, 100), start3.addSecs(1000));
    EXPECT_EQ(again.pages(1, 10, start3.addSecs(-5), start3.addSecs(5)).size(), 1u);
    EXPECT_EQ(again.pages(1, 10, start3.addSecs(-7200 + 2390), start3).size(), 2u);
    EXPECT_TRUE(again.pages(1, 10, start3.addSecs(-7200 + 2391), start3.addSecs(-1)).empty()) << "between two pages";
    EXPECT_TRUE(again.pages(1, 11).empty()) << "another recorder";
}

// A program killed while it stores a page leaves no part of it.
TEST(ArchiveStoreDeathTest, AKillInTheMiddleOfAPageLeavesNoHalfPage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("record.sqlite"));
    const ArchivedPage page = readPage(5, 240, true);
    EXPECT_EXIT(
        {
            ArchivePageStore store;
            if (!store.open(file)) std::_Exit(1);
            store.rowWritten = [](int row) {
                if (row == 120) std::_Exit(9);
            };
            store.put(page);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(9), "");
    ArchivePageStore store;
    ASSERT_TRUE(store.open(file));
    EXPECT_FALSE(store.has(page.key));
    EXPECT_TRUE(store.pages(1, 10).empty());
    EXPECT_EQ(store.put(page), ArchivePages::Put::Stored);
    EXPECT_EQ(store.pages(1, 10).front().page.rowCount, 240);
}
