// z5ctl export as a user runs it on a record: the rows of a recorder over a
// range or all of them, one date-and-time column, gaps left as gaps.
#include "CliRun.h"
#include "DatedPages.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileWriter.h"
#include "record/ArchivePageStore.h"
#include "trends/WorkbookCheck.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using z5::testing::at;
using z5::testing::datedPage;

namespace {

z5::testing::CliRun z5ctl(const QStringList &args) { return z5::testing::runProgram(QStringLiteral(Z5CTL_PATH), args, 30000); }

QStringList csvLines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    for (QString &line : lines) line = line.section(u',', 0, 3);   // row, time, the first two channels
    return lines;
}

} // namespace

TEST(ExportE2e, RowsOfTheRecordByTimeIntoCsvAndWorkbook) {
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("record.sqlite"));
    {
        z5::ArchivePageStore store;
        ASSERT_TRUE(store.open(record));
        // Page 4 follows page 3 at once; page 5 comes after a day's gap; another recorder's page stays out.
        for (const z5::ArchivedPage &p : {datedPage(3, at("2026-12-06T23:59:40"), 10, 3), datedPage(4, at("2026-12-07T00:00:10"), 10, 2),
                                          datedPage(5, at("2026-12-08T06:00:00"), 10, 1), datedPage(9, at("2026-12-07T00:00:00"), 10, 2, 11)})
            ASSERT_EQ(store.put(p), z5::ArchivePages::Put::Stored);
    }
    // The recorder's parameters name channels 1 and 2.
    const QString params = dir.filePath(QStringLiteral("boiler.par"));
    {
        z5::ParameterStore named;
        named.trendTexts.setElement(1, QStringLiteral("Вода"));
        named.trendTexts.setElement(2, QStringLiteral("Пар"));
        QFile f(params);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(z5::ParameterFileWriter::write(named, u'.'));
    }
    const QString csv = dir.filePath(QStringLiteral("all.csv"));
    const QStringList base{QStringLiteral("export"), QStringLiteral("--record"), record, QStringLiteral("--block"), QStringLiteral("U11")};
    struct Run {
        const char *name;
        QStringList options;
        QStringList lines;
        const char *said;
    };
    const Run runs[] = {
        {"everything stored",
         {},
         {"row,time,1,2", "1,2026-12-06 23:59:40,3000.000,3000.010", "2,2026-12-06 23:59:50,3001.000,3001.010",
          "3,2026-12-07 00:00:00,3002.000,3002.010", "4,2026-12-07 00:00:10,4000.000,4000.010",
          "5,2026-12-07 00:00:20,4001.000,4001.010", "6,2026-12-08 06:00:00,5000.000,5000.010", ""},
         "6 rows from 2026-12-06 23:59:40 to 2026-12-08 06:00:00, 1 gaps"},
        {"a range across two pages",
         {QStringLiteral("--from"), QStringLiteral("2026-12-06 23:59:50"), QStringLiteral("--to"), QStringLiteral("2026-12-07 00:00:10")},
         {"row,time,1,2", "1,2026-12-06 23:59:50,3001.000,3001.010", "2,2026-12-07 00:00:00,3002.000,3002.010",
          "3,2026-12-07 00:00:10,4000.000,4000.010", ""},
         "3 rows from"},
        {"a day by its date", {QStringLiteral("--from"), QStringLiteral("2026-12-08"), QStringLiteral("--to"), QStringLiteral("2026-12-08")},
         {"row,time,1,2", "1,2026-12-08 06:00:00,5000.000,5000.010", ""}, "1 rows from"},
        {"nothing in the range", {QStringLiteral("--to"), QStringLiteral("2026-12-01")}, {"row,time,1,2", ""}, "no rows stored for U11"},
        {"channels named by the parameters", {QStringLiteral("--from"), QStringLiteral("2026-12-08"), QStringLiteral("--params"), params},
         {"row,time,Вода,Пар", "1,2026-12-08 06:00:00,5000.000,5000.010", ""}, "1 rows from"},
    };
    for (const Run &run : runs) {
        SCOPED_TRACE(run.name);
        QFile::remove(csv);
        const z5::testing::CliRun r = z5ctl(base + run.options + QStringList{QStringLiteral("--out"), csv});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QString::fromUtf8(run.said))) << r.out.toStdString();
        QStringList expected;
        for (const QString &line : run.lines) expected << line;
        EXPECT_EQ(csvLines(csv), expected);
    }

    const QString book = dir.filePath(QStringLiteral("all.xlsx"));
    const z5::testing::CliRun r = z5ctl(base + QStringList{QStringLiteral("--precision"), QStringLiteral("2"), QStringLiteral("--out"), book});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(z5::WorkbookCheck::problem(book).isEmpty());

    struct Refused {
        QStringList args;
        const char *why;
    };
    const Refused refused[] = {
        {{QStringLiteral("--from"), QStringLiteral("7.12.2026"), QStringLiteral("--out"), csv}, "--from is YYYY-MM-DD"},
        {{QStringLiteral("--from"), QStringLiteral("2026-12-08"), QStringLiteral("--to"), QStringLiteral("2026-12-07"), QStringLiteral("--out"), csv},
         "--to is before --from"},
        {{QStringLiteral("--precision"), QStringLiteral("2"), QStringLiteral("--out"), csv}, "--precision does not apply"},
        {{QStringLiteral("--out"), dir.filePath(QStringLiteral("x.pdf"))}, "--out names a .csv or .xlsx file"},
        {{QStringLiteral("--decimal"), QStringLiteral(","), QStringLiteral("--out"), csv}, "--decimal does not apply without --params"},
    };
    for (const Refused &x : refused) {
        const z5::testing::CliRun u = z5ctl(base + x.args);
        EXPECT_EQ(u.code, 64);
        EXPECT_TRUE(u.err.startsWith(QStringLiteral("z5ctl export: ") + QString::fromUtf8(x.why))) << u.err.toStdString();
    }
    const z5::testing::CliRun missing =
        z5ctl({QStringLiteral("export"), QStringLiteral("--record"), dir.filePath(QStringLiteral("none.sqlite")), QStringLiteral("--block"),
               QStringLiteral("U11"), QStringLiteral("--out"), csv});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.sqlite")))) << "a record is not made by reading it";
}
