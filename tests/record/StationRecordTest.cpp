// The record file: what is opened, created or refused (and then left as it
// was), what a write's entry keeps, and which data counts as last written.
#include "record/SqliteDatabase.h"
#include "record/StationRecord.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace z5;

namespace {

using Use = StationRecord::Use;
using Step = StationRecord::Step;

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An SQLite file made by hand: `sql` run in it.
void sqliteFile(const QString &path, const char *sql) {
    SqliteDatabase db;
    ASSERT_TRUE(db.open(path, SqliteDatabase::Open::CreateIfMissing));
    ASSERT_TRUE(db.exec(sql)) << db.errorText().toStdString();
}

struct OpenRow {
    const char *name;
    std::function<void(const QString &path)> prepare;
    Use use;
    const char *problem;   // empty: opened; else how the refusal starts or what it holds
    bool keptAsItWas;      // a refused file is never changed
};
void PrintTo(const OpenRow &row, std::ostream *os) { *os << row.name; }

class OpeningTheRecord : public ::testing::TestWithParam<OpenRow> {};

TEST_P(OpeningTheRecord, OpensCreatesOrRefusesLeavingTheFileAsItWas) {
    const OpenRow &row = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.sqlite"));
    row.prepare(path);
    const QByteArray before = fileBytes(path);
    QString problem;
    const std::unique_ptr<StationRecord> record = StationRecord::open(path, row.use, &problem);
    const QString expected = QString::fromUtf8(row.problem);
    if (expected.isEmpty()) {
        ASSERT_NE(record, nullptr) << problem.toStdString();
        EXPECT_TRUE(record->inconsistencies().isEmpty());
    } else {
        EXPECT_EQ(record, nullptr);
        EXPECT_TRUE(problem.contains(expected)) << problem.toStdString();
        EXPECT_TRUE(problem.contains(QDir::toNativeSeparators(dir.path()))) << "names the file: " << problem.toStdString();
    }
    if (row.keptAsItWas) {
        EXPECT_EQ(fileBytes(path), before);
    }
}

const auto nothing = [](const QString &) {};

INSTANTIATE_TEST_SUITE_P(
    Files, OpeningTheRecord,
    ::testing::Values(
        OpenRow{"MissingIsCreatedToWrite", nothing, Use::Writing, "", false},
        OpenRow{"MissingIsNotCreatedToRead", nothing, Use::ReadingOnly, "не найден", true},
        OpenRow{"EmptyFileBecomesARecord", [](const QString &p) { writeFile(p, {}); }, Use::Writing, "", false},
        OpenRow{"TextFile", [](const QString &p) { writeFile(p, QByteArray("netlist\n").repeated(600)); }, Use::Writing,
                "не база данных SQLite", true},
        OpenRow{"AnotherProgramsDatabase", [](const QString &p) { sqliteFile(p, "CREATE TABLE t (x); INSERT INTO t VALUES (1)"); },
                Use::Writing, "база данных другой программы", true},
        OpenRow{"RecordOfANewerProgram",
                [](const QString &p) {
                    const QByteArray sql = "CREATE TABLE record_schema (version INTEGER NOT NULL);"
                                           "INSERT INTO record_schema VALUES (2); PRAGMA application_id = " +
                                           QByteArray::number(StationRecord::kApplicationId);
                    sqliteFile(p, sql.constData());
                },
                Use::Writing, "более новая версия программы (версия журнала 2", true},
        OpenRow{"AFolderInItsPlace", [](const QString &p) { QDir().mkpath(p); }, Use::Writing, "а не обычный файл", false}),
    [](const ::testing::TestParamInfo<OpenRow> &info) { return std::string(info.param.name); });

// A write entered step by step, as the recorder does.
qint64 enter(StationRecord &record, RecordedWrite::Kind kind, int station, const QByteArray &hash,
             RecordedWrite::State state, const std::map<int, QByteArray> &data) {
    RecordedWrite w;
    w.kind = kind;
    w.station = station;
    w.netlistHash = hash;
    w.started = QDateTime::currentDateTimeUtc();
    const qint64 id = record.enterStarted(w);
    std::vector<Step> steps;
    for (const auto &[tag, bytes] : data) {
        steps.push_back({0, Step::What::Header, tag, QByteArray(8, char(tag))});
        steps.push_back({100, Step::What::Data, tag, bytes});
        w.bytesSent += 8 + bytes.size();
    }
    if (state == RecordedWrite::State::Unfinished) {
        EXPECT_TRUE(record.addSteps(id, 0, steps));
        return id;
    }
    w.state = state;
    w.bytesTotal = w.bytesSent;
    w.ended = QDateTime::currentDateTimeUtc();
    EXPECT_TRUE(record.complete(id, 0, steps, w));
    return id;
}

// The latest finished write of the netlist to the station, tag by tag; failed,
// unfinished, other stations and other netlists count for nothing.
TEST(StationRecord, LastWrittenDataIsTheLatestFinishedBlockOfEachTable) {
    QTemporaryDir dir;
    auto record = StationRecord::open(dir.filePath(QStringLiteral("r.sqlite")), Use::Writing, nullptr);
    ASSERT_NE(record, nullptr);
    using K = RecordedWrite::Kind;
    using S = RecordedWrite::State;
    const QByteArray a(64, 'a'), b(64, 'b');
    enter(*record, K::Download, 1, a, S::Finished, {{0, "a0"}, {1, "a1"}, {2, "a2"}});
    enter(*record, K::Setpoints, 1, a, S::Finished, {{12, "s"}});
    enter(*record, K::Download, 1, a, S::Failed, {{0, "failed"}});
    enter(*record, K::Download, 1, a, S::Unfinished, {{1, "unfinished"}});
    enter(*record, K::Download, 2, a, S::Finished, {{0, "station 2"}});
    enter(*record, K::Download, 1, b, S::Finished, {{0, "netlist b"}});
    enter(*record, K::Download, 1, a, S::Finished, {{1, "a1 again"}});
    EXPECT_EQ(record->lastWrittenData(1, a), (std::map<int, QByteArray>{{0, "a0"}, {1, "a1 again"}, {2, "a2"}, {12, "s"}}));
    EXPECT_EQ(record->lastWrittenData(2, a), (std::map<int, QByteArray>{{0, "station 2"}}));
    EXPECT_EQ(record->lastWrittenData(1, b), (std::map<int, QByteArray>{{0, "netlist b"}}));
    EXPECT_TRUE(record->lastWrittenData(3, a).empty());
    EXPECT_EQ(record->summaries({}, {}, 1).size(), 6u);
    EXPECT_TRUE(record->inconsistencies().isEmpty()) << record->inconsistencies().join('\n').toStdString();
}

// Two programs on one file: their entries interleave and both end complete,
// each step where it was among the pieces.
TEST(StationRecord, TwoProgramsShareTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.sqlite"));
    auto first = StationRecord::open(path, Use::Writing, nullptr);
    auto second = StationRecord::open(path, Use::Writing, nullptr);
    ASSERT_TRUE(first && second);
    RecordedWrite w;
    w.started = w.ended = QDateTime::currentDateTimeUtc();
    const qint64 one = first->enterStarted(w), two = second->enterStarted(w);
    EXPECT_TRUE(second->addSteps(two, 0, {{0, Step::What::Header, 0, "h2"}, {6000, Step::What::Close, 0, {}}}));
    w.state = RecordedWrite::State::Finished;
    w.bytesSent = w.bytesTotal = 4;
    EXPECT_TRUE(second->complete(two, 2, {{6100, Step::What::Reopen, 0, {}}, {6100, Step::What::Header, 11, "h3"}}, w));
    w.bytesSent = w.bytesTotal = 0;
    EXPECT_TRUE(first->complete(one, 0, {}, w));
    EXPECT_FALSE(first->complete(one, 0, {}, w)) << "an entry is completed once";
    const std::optional<RecordedWrite> seen = first->entry(two);
    ASSERT_TRUE(seen && seen->pieces.size() == 2u && seen->portSteps.size() == 2u);
    EXPECT_EQ(seen->pieces[1].tag, 11);
    EXPECT_EQ(seen->portSteps[1].what, RecordedWrite::PortStep::What::Reopen);
    EXPECT_EQ(seen->portSteps[1].afterPieces, 1) << "the reopening comes before the header of the same moment";
    EXPECT_TRUE(first->inconsistencies().isEmpty()) << first->inconsistencies().join('\n').toStdString();
}

} // namespace
