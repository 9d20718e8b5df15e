// Pages of the archive read from z5-sim into a record file, then read again after
// recording has moved on to the next page; a read that loses its adapter midway.
#include "ArchiveAudit.h"
#include "CliRun.h"
#include "SimProcess.h"
#include "record/ArchivePageStore.h"
#include <QFile>
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

TEST(ArchiveE2e, AnAdapterPulledOutMidPageCostsOnePartAndEveryPageIsStoredOnceWhole) {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("z5"));
    const QString downloads = dir.filePath(QStringLiteral("downloads.sqlite"));
    std::unique_ptr<SimProcess> sim = z5::testing::plugInController(link, {}, downloads);
    ASSERT_TRUE(sim);
    const QString record = dir.filePath(QStringLiteral("record.sqlite"));
    QProcess archive;
    archive.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("archive"), QStringLiteral("--port"), link, QStringLiteral("--block"),
                                               QStringLiteral("U11"), QStringLiteral("--pages"), QStringLiteral("4-6"),
                                               QStringLiteral("--record"), record});
    QString err;
    const auto said = [&](const QString &text) {
        err += QString::fromUtf8(archive.readAllStandardError());
        return err.contains(text);
    };
    // Part 15 of page 5 asked for: the adapter goes before it is answered.
    ASSERT_TRUE(sim->waitForEvent(
        [](const QJsonObject &e) {
            return e[QStringLiteral("request")] == QStringLiteral("trend part") && e[QStringLiteral("count")].toInt() == 5 &&
                   e[QStringLiteral("index")].toInt() == 10 + 15;
        },
        15000));
    int partsSent = z5::testing::trendPartsSent(*sim);
    sim->kill();
    // As the system takes an unplugged adapter's name away: the pseudo-terminal
    // behind the old link may meanwhile be another test's.
    QFile::remove(link);
    EXPECT_TRUE(pumpUntil([&] { return said(QStringLiteral("the port is gone; the read goes on when it is back")); }, 5000));
    sim = z5::testing::plugInController(link, {}, downloads);
    ASSERT_TRUE(sim);
    ASSERT_TRUE(archive.waitForFinished(30000));
    said({});
    partsSent += z5::testing::trendPartsSent(*sim);

    EXPECT_EQ(archive.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(archive.readAllStandardOutput()).startsWith(QStringLiteral("3 pages: 3 stored, 0 stored before")));
    const z5::testing::ArchiveAudit audit = z5::testing::auditArchive(record, 10, 4, 6);
    EXPECT_EQ(audit.stored, 3);
    EXPECT_EQ(audit.twiceOrHalf, 0);
    // 90 parts, and the one under way when the adapter went asked for again at most.
    EXPECT_GE(partsSent, 90);
    EXPECT_LE(partsSent, 91);
}
