#include "record/StationRecord.h"
#include "model/AtomicFileSave.h"
#include "record/SqliteDatabase.h"
#include "record/SqliteStatement.h"
#include <QDir>
#include <QFileInfo>
#include <limits>

namespace z5 {
namespace {

// The tables of a record. Every step of a write is a row of its own, its bytes
// stored as they went out (a blob, last in the row so that the lists never
// read it).
const char *const kSchema = R"(
CREATE TABLE record_schema (version INTEGER NOT NULL);
CREATE TABLE writes (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  kind TEXT NOT NULL CHECK (kind IN ('download', 'setpoints', 'screen')),
  started_ms INTEGER NOT NULL,
  ended_ms INTEGER,
  user TEXT NOT NULL,
  program_version TEXT NOT NULL,
  port TEXT NOT NULL,
  adapter TEXT NOT NULL,
  station INTEGER NOT NULL,
  netlist_name TEXT NOT NULL,
  netlist_hash BLOB NOT NULL,
  state TEXT NOT NULL CHECK (state IN ('unfinished', 'finished', 'failed')),
  failure TEXT NOT NULL DEFAULT '',
  bytes_sent INTEGER NOT NULL DEFAULT 0,
  bytes_total INTEGER NOT NULL DEFAULT 0,
  step_count INTEGER
);
CREATE INDEX writes_of_station ON writes (station, netlist_hash, state);
CREATE INDEX writes_by_start ON writes (started_ms);
CREATE TABLE steps (
  write_id INTEGER NOT NULL REFERENCES writes (id) ON DELETE CASCADE,
  number INTEGER NOT NULL,
  at_ms INTEGER NOT NULL,
  what TEXT NOT NULL CHECK (what IN ('header', 'data', 'close', 'reopen')),
  tag INTEGER NOT NULL,
  bytes BLOB,
  PRIMARY KEY (write_id, number)
);
)";

const char *const kWriteColumns =
    "id, kind, started_ms, ended_ms, user, program_version, port, adapter, station, netlist_name, netlist_hash, "
    "state, failure, bytes_sent, bytes_total";

QString kindText(RecordedWrite::Kind kind) {
    switch (kind) {
    case RecordedWrite::Kind::Setpoints: return QStringLiteral("setpoints");
    case RecordedWrite::Kind::Screen: return QStringLiteral("screen");
    case RecordedWrite::Kind::Download: break;
    }
    return QStringLiteral("download");
}

RecordedWrite::Kind kindOf(const QString &text) {
    if (text == QLatin1String("setpoints")) return RecordedWrite::Kind::Setpoints;
    if (text == QLatin1String("screen")) return RecordedWrite::Kind::Screen;
    return RecordedWrite::Kind::Download;
}

QString stateText(RecordedWrite::State state) {
    switch (state) {
    case RecordedWrite::State::Finished: return QStringLiteral("finished");
    case RecordedWrite::State::Failed: return QStringLiteral("failed");
    case RecordedWrite::State::Unfinished: break;
    }
    return QStringLiteral("unfinished");
}

RecordedWrite::State stateOf(const QString &text) {
    if (text == QLatin1String("finished")) return RecordedWrite::State::Finished;
    if (text == QLatin1String("failed")) return RecordedWrite::State::Failed;
    return RecordedWrite::State::Unfinished;
}

QString whatText(StationRecord::Step::What what) {
    switch (what) {
    case StationRecord::Step::What::Data: return QStringLiteral("data");
    case StationRecord::Step::What::Close: return QStringLiteral("close");
    case StationRecord::Step::What::Reopen: return QStringLiteral("reopen");
    case StationRecord::Step::What::Header: break;
    }
    return QStringLiteral("header");
}

// The hash is kept as its 32 bytes; readers are given it in hex.
QByteArray storedHash(const QByteArray &hex) { return QByteArray::fromHex(hex); }

RecordedWrite writeFrom(const SqliteStatement &row) {
    RecordedWrite w;
    w.id = row.integer(0);
    w.kind = kindOf(row.text(1));
    w.started = QDateTime::fromMSecsSinceEpoch(row.integer(2), Qt::UTC);
    if (!row.isNull(3)) w.ended = QDateTime::fromMSecsSinceEpoch(row.integer(3), Qt::UTC);
    w.user = row.text(4);
    w.programVersion = row.text(5);
    w.port = row.text(6);
    w.adapter = row.text(7);
    w.station = int(row.integer(8));
    w.netlistName = row.text(9);
    w.netlistHash = row.blob(10).toHex();
    w.state = stateOf(row.text(11));
    w.failure = row.text(12);
    w.bytesSent = row.integer(13);
    w.bytesTotal = row.integer(14);
    return w;
}

} // namespace

StationRecord::StationRecord(QString path, std::unique_ptr<SqliteDatabase> db) : path_(std::move(path)), db_(std::move(db)) {}

StationRecord::~StationRecord() = default;

std::unique_ptr<StationRecord> StationRecord::open(const QString &path, Use use, QString *problem) {
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString &why) {
        if (problem) *problem = why;
        return nullptr;
    };
    const QFileInfo info(path);
    if (const QString kind = AtomicFileSave::otherKind(path); !kind.isEmpty())
        return refuse(QStringLiteral("%1 — %2, а не обычный файл.").arg(shown, kind));
    if (!info.exists()) {
        if (use == Use::ReadingOnly) return refuse(QStringLiteral("Файл %1 не найден.").arg(shown));
        if (!info.dir().exists())
            return refuse(QStringLiteral("Папка %1 не существует.").arg(QDir::toNativeSeparators(info.absolutePath())));
    }
    auto db = std::make_unique<SqliteDatabase>();
    if (!db->open(path, use == Use::Writing ? SqliteDatabase::Open::CreateIfMissing : SqliteDatabase::Open::ExistingOnly))
        return refuse(QStringLiteral("Журнал %1 не открыт: %2.").arg(shown, db->errorText()));
    // Another program writing meanwhile is waited for, not run into.
    db->setBusyTimeout(kBusyTimeoutMs);
    std::unique_ptr<StationRecord> record(new StationRecord(path, std::move(db)));
    if (const QString why = record->prepare(use); !why.isEmpty()) return refuse(why);
    return record;
}

QString StationRecord::prepare(Use use) {
    const QString shown = QDir::toNativeSeparators(path_);
    const auto notARecord = [&](const QString &what) {
        return QStringLiteral("Файл %1 — не журнал записей (%2); он оставлен как есть.").arg(shown, what);
    };
    // Reading first: a file that is no database says so here, before anything could be written into it.
    qint64 tables = db_->number("SELECT count(*) FROM sqlite_master");
    if (tables < 0) {
        if (db_->lastErrorIsNotADatabase()) return notARecord(QStringLiteral("не база данных SQLite"));
        return QStringLiteral("Журнал %1 не открыт: %2.").arg(shown, db_->errorText());
    }
    qint64 appId = db_->number("PRAGMA application_id", 0);
    if (tables == 0 && appId == 0) {
        if (use == Use::ReadingOnly) return notARecord(QStringLiteral("пустой файл"));
        // Two programs may both find the file empty: the second one in sees the tables.
        if (!db_->exec("PRAGMA journal_mode = WAL") || !db_->beginWrite())
            return QStringLiteral("Журнал %1 не открыт: %2.").arg(shown, db_->errorText());
        if (db_->number("SELECT count(*) FROM sqlite_master") == 0) {
            const QByteArray setUp = QByteArray(kSchema) +
                                     QByteArray("INSERT INTO record_schema (version) VALUES (") +
                                     QByteArray::number(kSchemaVersion) + ");PRAGMA application_id = " +
                                     QByteArray::number(kApplicationId) + ";";
            if (!db_->exec(setUp.constData())) {
                const QString why = db_->errorText();
                db_->rollback();
                return QStringLiteral("Журнал %1 не создан: %2.").arg(shown, why);
            }
        }
        if (!db_->commit()) return QStringLiteral("Журнал %1 не создан: %2.").arg(shown, db_->errorText());
        tables = db_->number("SELECT count(*) FROM sqlite_master");
        appId = db_->number("PRAGMA application_id", 0);
    }
    if (appId != kApplicationId) return notARecord(QStringLiteral("база данных другой программы"));
    const qint64 version = db_->number("SELECT max(version) FROM record_schema");
    if (version < 1) return notARecord(QStringLiteral("нет версии журнала"));
    if (version > kSchemaVersion)
        return QStringLiteral("Журнал %1 ведёт более новая версия программы (версия журнала %2, эта программа знает до %3); "
                              "он оставлен как есть.")
            .arg(shown)
            .arg(version)
            .arg(kSchemaVersion);
    // Steps commit without waiting for the disk (the log keeps them whole);
    // the log is moved into the file after each write, not in the middle of one.
    db_->exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA wal_autocheckpoint = 0; "
              "PRAGMA foreign_keys = ON");
    return QString();
}

void StationRecord::setBusyTimeoutMs(int ms) { db_->setBusyTimeout(ms); }

bool StationRecord::fail() {
    lastError_ = db_->errorText();
    db_->rollback();
    return false;
}

qint64 StationRecord::enterStarted(const RecordedWrite &w) {
    // An entry that exists must survive a power cut: this commit waits for the disk.
    db_->exec("PRAGMA synchronous = FULL");
    SqliteStatement insert(db_->handle(),
                           "INSERT INTO writes (kind, started_ms, user, program_version, port, adapter, station, "
                           "netlist_name, netlist_hash, state) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'unfinished')");
    insert.bind(1, kindText(w.kind))
        .bind(2, w.started.toMSecsSinceEpoch())
        .bind(3, w.user)
        .bind(4, w.programVersion)
        .bind(5, w.port)
        .bind(6, w.adapter)
        .bind(7, qint64(w.station))
        .bind(8, w.netlistName)
        .bindBlob(9, storedHash(w.netlistHash));
    const bool entered = insert.run();
    const qint64 id = entered ? db_->number("SELECT last_insert_rowid()", 0) : 0;
    if (!entered) lastError_ = db_->errorText();
    db_->exec("PRAGMA synchronous = NORMAL");
    return id;
}

bool StationRecord::insertSteps(qint64 id, int firstNumber, const std::vector<Step> &steps) {
    SqliteStatement insert(db_->handle(), "INSERT INTO steps (write_id, number, at_ms, what, tag, bytes) VALUES (?, ?, ?, ?, ?, ?)");
    int number = firstNumber;
    for (const Step &s : steps) {
        insert.reset();
        insert.bind(1, id).bind(2, qint64(number++)).bind(3, s.atMs).bind(4, whatText(s.what)).bind(5, qint64(s.tag));
        if (s.what == Step::What::Header || s.what == Step::What::Data)
            insert.bindBlob(6, s.bytes);
        else
            insert.bindNull(6);
        if (!insert.run()) return false;
    }
    return true;
}

bool StationRecord::addSteps(qint64 id, int firstNumber, const std::vector<Step> &steps) {
    if (steps.empty()) return true;
    if (!db_->beginWrite() || !insertSteps(id, firstNumber, steps)) return fail();
    return db_->commit() || fail();
}

bool StationRecord::complete(qint64 id, int firstNumber, const std::vector<Step> &steps, const RecordedWrite &w) {
    db_->exec("PRAGMA synchronous = FULL");
    bool done = db_->beginWrite() && insertSteps(id, firstNumber, steps);
    if (done) {
        SqliteStatement update(db_->handle(),
                               "UPDATE writes SET state = ?, ended_ms = ?, failure = ?, bytes_sent = ?, bytes_total = ?, "
                               "port = ?, adapter = ?, step_count = ? WHERE id = ? AND state = 'unfinished'");
        update.bind(1, stateText(w.state))
            .bind(2, w.ended.toMSecsSinceEpoch())
            .bind(3, w.failure)
            .bind(4, w.bytesSent)
            .bind(5, w.bytesTotal)
            .bind(6, w.port)
            .bind(7, w.adapter)
            .bind(8, qint64(firstNumber) + qint64(steps.size()))
            .bind(9, id);
        done = update.run() && db_->number("SELECT changes()", 0) == 1;
    }
    done = done ? (db_->commit() || fail()) : fail();
    db_->exec("PRAGMA synchronous = NORMAL");
    return done;
}

void StationRecord::checkpoint() { db_->exec("PRAGMA wal_checkpoint(PASSIVE)"); }

std::map<int, QByteArray> StationRecord::lastWrittenData(int station, const QByteArray &netlistHash) const {
    std::map<int, QByteArray> out;
    // The latest finished write of every tag first: only then are the blocks themselves read.
    SqliteStatement latest(db_->handle(),
                           "SELECT s.tag, max(w.id) FROM writes w JOIN steps s ON s.write_id = w.id "
                           "WHERE w.station = ? AND w.netlist_hash = ? AND w.state = 'finished' AND s.what = 'data' "
                           "GROUP BY s.tag");
    latest.bind(1, qint64(station)).bindBlob(2, storedHash(netlistHash));
    SqliteStatement block(db_->handle(),
                          "SELECT bytes FROM steps WHERE write_id = ? AND tag = ? AND what = 'data' ORDER BY number LIMIT 1");
    while (latest.next()) {
        block.reset();
        block.bind(1, latest.integer(1)).bind(2, latest.integer(0));
        if (block.next()) out[int(latest.integer(0))] = block.blob(0);
    }
    if (latest.failed()) lastError_ = db_->errorText();
    return out;
}

std::vector<RecordedWrite> StationRecord::select(const QDateTime &from, const QDateTime &to, int station,
                                                 bool withPieces) const {
    const QByteArray sql = QByteArray("SELECT ") + kWriteColumns +
                           " FROM writes WHERE started_ms BETWEEN ? AND ? AND (? = 0 OR station = ?) ORDER BY id";
    SqliteStatement query(db_->handle(), sql.constData());
    query.bind(1, from.isValid() ? from.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min())
        .bind(2, to.isValid() ? to.toMSecsSinceEpoch() : std::numeric_limits<qint64>::max())
        .bind(3, qint64(station))
        .bind(4, qint64(station));
    std::vector<RecordedWrite> out;
    while (query.next()) out.push_back(writeFrom(query));
    if (query.failed()) lastError_ = db_->errorText();
    if (withPieces)
        for (RecordedWrite &w : out) readSteps(w);
    return out;
}

std::vector<RecordedWrite> StationRecord::entries(const QDateTime &from, const QDateTime &to, int station) const {
    return select(from, to, station, true);
}

std::vector<RecordedWrite> StationRecord::summaries(const QDateTime &from, const QDateTime &to, int station) const {
    return select(from, to, station, false);
}

std::optional<RecordedWrite> StationRecord::entry(qint64 id) const {
    const QByteArray sql = QByteArray("SELECT ") + kWriteColumns + " FROM writes WHERE id = ?";
    SqliteStatement query(db_->handle(), sql.constData());
    query.bind(1, id);
    if (!query.next()) return std::nullopt;
    RecordedWrite w = writeFrom(query);
    readSteps(w);
    return w;
}

void StationRecord::readSteps(RecordedWrite &w) const {
    SqliteStatement query(db_->handle(), "SELECT at_ms, what, tag, bytes FROM steps WHERE write_id = ? ORDER BY number");
    query.bind(1, w.id);
    while (query.next()) {
        const QString what = query.text(1);
        if (what == QLatin1String("close") || what == QLatin1String("reopen")) {
            RecordedWrite::PortStep step;
            step.atMs = query.integer(0);
            step.what = what == QLatin1String("close") ? RecordedWrite::PortStep::What::Close : RecordedWrite::PortStep::What::Reopen;
            step.afterPieces = int(w.pieces.size());
            w.portSteps.push_back(step);
            continue;
        }
        RecordedWrite::Piece piece;
        piece.atMs = query.integer(0);
        piece.what = what == QLatin1String("data") ? RecordedWrite::Piece::What::Data : RecordedWrite::Piece::What::Header;
        piece.tag = int(query.integer(2));
        piece.bytes = query.blob(3);
        w.pieces.push_back(std::move(piece));
    }
}

QStringList StationRecord::inconsistencies() const {
    QStringList out;
    SqliteStatement integrity(db_->handle(), "PRAGMA integrity_check");
    while (integrity.next())
        if (integrity.text(0) != QLatin1String("ok")) out << integrity.text(0);
    SqliteStatement query(db_->handle(),
                          "SELECT w.id, w.state, w.ended_ms IS NULL, w.step_count, w.bytes_sent, w.bytes_total, "
                          "count(s.number), coalesce(sum(length(s.bytes)), 0) "
                          "FROM writes w LEFT JOIN steps s ON s.write_id = w.id GROUP BY w.id ORDER BY w.id");
    while (query.next()) {
        const qint64 id = query.integer(0);
        const QString state = query.text(1);
        const bool open = query.integer(2) != 0;
        const bool counted = !query.isNull(3);
        const qint64 sent = query.integer(4), total = query.integer(5), steps = query.integer(6), bytes = query.integer(7);
        const auto wrong = [&](const QString &what) { out << QStringLiteral("entry %1 (%2): %3").arg(id).arg(state, what); };
        if (state == QLatin1String("unfinished")) {
            if (!open || counted) wrong(QStringLiteral("has an end but is not complete"));
            continue;
        }
        if (open) wrong(QStringLiteral("has no end"));
        if (!counted || query.integer(3) != steps)
            wrong(QStringLiteral("holds %1 steps of %2").arg(steps).arg(counted ? query.integer(3) : -1));
        if (sent > total) wrong(QStringLiteral("sent %1 of %2 bytes").arg(sent).arg(total));
        if (state == QLatin1String("finished") && (sent != total || bytes != sent))
            wrong(QStringLiteral("finished with %1 of %2 bytes sent, %3 kept").arg(sent).arg(total).arg(bytes));
        if (state == QLatin1String("failed") && bytes < sent)
            wrong(QStringLiteral("keeps %1 bytes of %2 sent").arg(bytes).arg(sent));
    }
    if (query.failed()) out << db_->errorText();
    return out;
}

} // namespace z5
