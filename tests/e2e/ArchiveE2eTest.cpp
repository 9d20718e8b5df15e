// Pages of the archive read from z5-sim into a record file, then read again after
// recording has moved on to the next page.
#include "CliRun.h"
#include "SimProcess.h"
#include "record/ArchivePageStore.h"
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

z5::testing::CliRun z5ctl(const QStringList &args) {
    return z5::testing::runProgram(QStringLiteral(Z5CTL_PATH), args, 30000);
}

} // namespace

TEST(ArchiveE2e, PagesStoredOnceWithTheirTimesAndTheRecordedOneReadAgainOnceFinished) {
    SimProcess sim({QStringLiteral("--instant")});
    ASSERT_TRUE(sim.running());
    ASSERT_EQ(z5ctl({QStringLiteral("download"), QStringLiteral("--port"), sim.device(),
                     QStringLiteral(Z5_SOURCE_DIR "/examples/boiler.net")})
                  .code,
              0);
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("record.sqlite"));
    const QStringList archive{QStringLiteral("archive"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                              QStringLiteral("U11"), QStringLiteral("--pages"), QStringLiteral("2-4"),
                              QStringLiteral("--record"), record};
    z5::testing::CliRun r = z5ctl(archive);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("3 pages: 3 stored, 0 stored before, 0 without rows; recording in page 3")))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("z5ctl archive: 3 of 3 pages (3 stored, 0 stored before)"))) << r.err.toStdString();

    // Recording goes on in page 4, the oldest: page 3 is finished now.
    ::kill(pid_t(sim.pid()), SIGUSR2);
    ASSERT_TRUE(sim.waitForEvent([](const QJsonObject &e) { return e[QStringLiteral("what")] == QStringLiteral("page rolled"); }, 2000));
    r = z5ctl(archive);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("3 pages: 1 stored, 1 stored before, 1 without rows; recording in page 4")))
        << r.out.toStdString();

    z5::ArchivePageStore store;
    ASSERT_TRUE(store.open(record));
    const std::vector<z5::ArchivedPage> pages = store.pages(1, 10);
    ASSERT_EQ(pages.size(), 3u);
    // Page 4 of the round before, a week older, then pages 2 and 3 of this round.
    EXPECT_EQ(pages[0].page.pageNumber, 4);
    EXPECT_EQ(pages[0].key.start, QDateTime(QDate(2026, 11, 30), QTime(11, 20), Qt::UTC));
    EXPECT_EQ(pages[1].page.pageNumber, 2);
    EXPECT_EQ(pages[1].key.start, QDateTime(QDate(2026, 12, 7), QTime(8, 40), Qt::UTC));
    EXPECT_EQ(pages[2].page.pageNumber, 3);
    EXPECT_TRUE(pages[2].finished);
    EXPECT_EQ(pages[2].page.rowCount, 240);
}
