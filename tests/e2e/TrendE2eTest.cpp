// A trend page read through the real serial port from z5-sim into CSV, a
// workbook and a PDF, and recording start and stop.
#include "SimProcess.h"
#include "CliRun.h"
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using z5::testing::CliRun;

CliRun z5ctl(const QStringList &args) { return z5::testing::runProgram(QStringLiteral(Z5CTL_PATH), args, 30000); }

// The simulator's archive: what it records in a page, row and channel.
double archiveValue(int page, int row, int channel) {
    const double t = (page - 1) * 240 + row;
    const double v = (channel + 1) * 10.0 + 5.0 * std::sin(2.0 * M_PI * t / 120.0 + channel * 0.7);
    return std::lround(v * 1000.0) / 1000.0;
}

// The boiler example puts its trend recorder at U11.
bool downloadExample(const SimProcess &sim) {
    const CliRun r = z5ctl({QStringLiteral("download"), QStringLiteral("--port"), sim.device(),
                         QStringLiteral(Z5_SOURCE_DIR "/examples/boiler.net")});
    return r.code == 0;
}

} // namespace

TEST(TrendE2e, OlderPageInCsvEqualsTheArchiveEvenWithAPartDroppedOrStrayBytes) {
    // A download draws no replies: every tenth part of the page is dropped, or two
    // bytes of noise come before every part.
    for (const QString &fault : {QStringLiteral("--drop-every 10"), QStringLiteral("--stray 2")}) {
        SCOPED_TRACE(fault.toStdString());
        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("page.csv"));
        SimProcess faulty(QStringList{QStringLiteral("--line-speed")} + fault.split(u' '));
        ASSERT_TRUE(faulty.running());
        ASSERT_TRUE(downloadExample(faulty));
        const CliRun r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), faulty.device(), QStringLiteral("--block"),
                             QStringLiteral("U11"), QStringLiteral("--page"), QStringLiteral("2"), QStringLiteral("--out"), csv});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("page 2, 240 rows"))) << r.out.toStdString();
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 241);
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("row,time,1,2,3")));
        for (int row = 0; row < 240; ++row) {
            const QStringList fields = lines[row + 1].split(u',');
            ASSERT_EQ(fields.size(), 34);
            ASSERT_EQ(fields[0].toInt(), row + 1);
            for (int c = 0; c < 32; ++c)
                ASSERT_EQ(fields[2 + c], QString::number(archiveValue(2, row, c), 'f', 3)) << "row " << row << " channel " << c;
        }
        EXPECT_EQ(lines[1].section(u',', 1, 1), QStringLiteral("8:40:00"));
    }
}

TEST(TrendE2e, RecordingPageHasItsValidRowsThenStopAndStartAndOtherOutputs) {
    SimProcess sim;
    ASSERT_TRUE(sim.running());
    ASSERT_TRUE(downloadExample(sim));
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("now.csv"));
    CliRun r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                   QStringLiteral("11"), QStringLiteral("--out"), csv});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("page 3, 40 rows"))) << r.out.toStdString();

    r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
               QStringLiteral("U11"), QStringLiteral("--stop")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(sim.waitForEvent(
        [](const QJsonObject &e) { return e[QStringLiteral("request")].toString() == QStringLiteral("recording stop"); },
        2000));
    r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
               QStringLiteral("U11"), QStringLiteral("--start")});
    EXPECT_TRUE(sim.waitForEvent(
        [](const QJsonObject &e) { return e[QStringLiteral("hex")].toString().startsWith(QStringLiteral("01 03 0B 01 00 02")); },
        2000));

    const QString book = dir.filePath(QStringLiteral("now.xlsx"));
    const QString pdf = dir.filePath(QStringLiteral("now.pdf"));
    r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
               QStringLiteral("U11"), QStringLiteral("--page"), QStringLiteral("1"), QStringLiteral("--out"), book,
               QStringLiteral("--precision"), QStringLiteral("2")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_GT(QFileInfo(book).size(), 10000);
    r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
               QStringLiteral("U11"), QStringLiteral("--page"), QStringLiteral("1"), QStringLiteral("--out"), pdf,
               QStringLiteral("--group"), QStringLiteral("2")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
}

TEST(TrendE2e, NoPageFromASilentStationEndsWithThree) {
    SimProcess sim({QStringLiteral("--station"), QStringLiteral("2")});
    ASSERT_TRUE(sim.running());
    QTemporaryDir dir;
    const CliRun r = z5ctl({QStringLiteral("trend"), QStringLiteral("--port"), sim.device(), QStringLiteral("--block"),
                         QStringLiteral("U11"), QStringLiteral("--out"), dir.filePath(QStringLiteral("x.csv"))});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("z5ctl trend: no page from station 1 for U11 (Нет ответа от Z5)\n")))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.csv"))));
}
