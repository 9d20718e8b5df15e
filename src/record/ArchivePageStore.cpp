#include "record/ArchivePageStore.h"
#include "trends/TrendPageTimes.h"
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <sqlite3.h>

namespace z5 {
namespace {

constexpr const char *kSchema =
    "CREATE TABLE IF NOT EXISTS trend_page ("
    " id INTEGER PRIMARY KEY,"
    " station INTEGER NOT NULL, block INTEGER NOT NULL,"
    " start_at INTEGER NOT NULL,"          // where the page began, seconds since 1970 on the controller's clock
    " page_number INTEGER NOT NULL,"
    " finished INTEGER NOT NULL,"          // 0: stored while it was being recorded
    " row_count INTEGER NOT NULL,"
    " times BLOB NOT NULL,"                // date and four times of day as the page carries them
    " first_at INTEGER NOT NULL, last_at INTEGER NOT NULL,"
    " stored_at TEXT NOT NULL,"
    " UNIQUE (station, block, start_at));"
    "CREATE INDEX IF NOT EXISTS trend_page_span ON trend_page (station, block, first_at, last_at);"
    "CREATE TABLE IF NOT EXISTS trend_row ("
    " page_id INTEGER NOT NULL REFERENCES trend_page (id),"
    " row INTEGER NOT NULL,"
    " at INTEGER NOT NULL,"                // the row's time, seconds since 1970 on the controller's clock
    " samples BLOB NOT NULL,"              // 32 single-precision values, least significant byte first
    " PRIMARY KEY (page_id, row));";

struct StatementDeleter {
    void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepare(sqlite3 *db, const char *sql) {
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        return nullptr;
    }
    return Statement(s);
}

qint64 secondsOf(const QDateTime &t) { return t.toSecsSinceEpoch(); }

QByteArray rowSamples(const TrendPage &page, int row) {
    QByteArray out(TrendPage::kChannels * 4, '\0');
    for (int c = 0; c < TrendPage::kChannels; ++c) {
        quint32 bits = 0;
        const float v = page.sample(row, c);
        std::memcpy(&bits, &v, sizeof bits);
        qToLittleEndian(bits, out.data() + 4 * c);
    }
    return out;
}

void putRowSamples(TrendPage &page, int row, const void *data, int size) {
    if (size != TrendPage::kChannels * 4) return;
    const auto *bytes = static_cast<const char *>(data);
    for (int c = 0; c < TrendPage::kChannels; ++c) {
        const quint32 bits = qFromLittleEndian<quint32>(bytes + 4 * c);
        float v = 0;
        std::memcpy(&v, &bits, sizeof v);
        page.setSample(row, c, v);
    }
}

} // namespace

ArchivePageStore::~ArchivePageStore() {
    if (db_) sqlite3_close_v2(db_);
}

bool ArchivePageStore::open(const QString &path, QString *error) {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_ = db;
    if (rc != SQLITE_OK) {
        if (error) *error = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        db_ = nullptr;
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    if (!exec("PRAGMA journal_mode=WAL") || !exec(kSchema)) {
        if (error) *error = errorText();
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    return true;
}

bool ArchivePageStore::exec(const char *sql) const {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString ArchivePageStore::errorText() const {
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("the record is not open");
}

bool ArchivePageStore::has(const ArchivePageKey &key) const {
    if (!db_ || !key.isValid()) return false;
    const Statement s = prepare(db_, "SELECT finished FROM trend_page WHERE station = ? AND block = ? AND start_at = ?");
    if (!s) return false;
    sqlite3_bind_int(s.get(), 1, key.station);
    sqlite3_bind_int(s.get(), 2, key.block);
    sqlite3_bind_int64(s.get(), 3, secondsOf(key.start));
    return sqlite3_step(s.get()) == SQLITE_ROW && sqlite3_column_int(s.get(), 0) != 0;
}

ArchivePages::Put ArchivePageStore::failPut(QString *error) {
    if (error) *error = errorText();
    exec("ROLLBACK");
    return Put::Failed;
}

ArchivePages::Put ArchivePageStore::put(const ArchivedPage &archived, QString *error) {
    if (!db_ || !archived.key.isValid()) {
        if (error) *error = db_ ? QStringLiteral("the page carries no date") : errorText();
        return Put::Failed;
    }
    const TrendPage &page = archived.page;
    const int rows = std::clamp(page.rowCount, 0, int(TrendPage::kRows));
    // Taken at once: a second program storing meanwhile is waited for, not run into.
    if (!exec("BEGIN IMMEDIATE")) return failPut(error);
    const Statement find = prepare(db_, "SELECT id, finished FROM trend_page WHERE station = ? AND block = ? AND start_at = ?");
    if (!find) return failPut(error);
    sqlite3_bind_int(find.get(), 1, archived.key.station);
    sqlite3_bind_int(find.get(), 2, archived.key.block);
    sqlite3_bind_int64(find.get(), 3, secondsOf(archived.key.start));
    Put how = Put::Stored;
    if (sqlite3_step(find.get()) == SQLITE_ROW) {
        const qint64 id = sqlite3_column_int64(find.get(), 0);
        if (sqlite3_column_int(find.get(), 1) != 0) {
            exec("ROLLBACK");
            return Put::AlreadyStored;
        }
        // Stored while it was recorded: this read replaces it.
        const Statement dropRows = prepare(db_, "DELETE FROM trend_row WHERE page_id = ?");
        const Statement dropPage = prepare(db_, "DELETE FROM trend_page WHERE id = ?");
        if (!dropRows || !dropPage) return failPut(error);
        sqlite3_bind_int64(dropRows.get(), 1, id);
        sqlite3_bind_int64(dropPage.get(), 1, id);
        if (sqlite3_step(dropRows.get()) != SQLITE_DONE || sqlite3_step(dropPage.get()) != SQLITE_DONE) return failPut(error);
        how = Put::Replaced;
    }
    const QDateTime firstAt = TrendPageTimes::rowTime(page, 0);
    const QDateTime lastAt = rows > 0 ? TrendPageTimes::rowTime(page, rows - 1) : firstAt;
    const Statement insertPage = prepare(db_,
                                         "INSERT INTO trend_page (station, block, start_at, page_number, finished, row_count,"
                                         " times, first_at, last_at, stored_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!insertPage) return failPut(error);
    const QByteArray times(reinterpret_cast<const char *>(page.time.data()), int(page.time.size()));
    const QByteArray storedAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8();
    sqlite3_bind_int(insertPage.get(), 1, archived.key.station);
    sqlite3_bind_int(insertPage.get(), 2, archived.key.block);
    sqlite3_bind_int64(insertPage.get(), 3, secondsOf(archived.key.start));
    sqlite3_bind_int(insertPage.get(), 4, page.pageNumber);
    sqlite3_bind_int(insertPage.get(), 5, archived.finished ? 1 : 0);
    sqlite3_bind_int(insertPage.get(), 6, rows);
    sqlite3_bind_blob(insertPage.get(), 7, times.constData(), int(times.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(insertPage.get(), 8, firstAt.isValid() ? secondsOf(firstAt) : secondsOf(archived.key.start));
    sqlite3_bind_int64(insertPage.get(), 9, lastAt.isValid() ? secondsOf(lastAt) : secondsOf(archived.key.start));
    sqlite3_bind_text(insertPage.get(), 10, storedAt.constData(), int(storedAt.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(insertPage.get()) != SQLITE_DONE) return failPut(error);
    const qint64 pageId = sqlite3_last_insert_rowid(db_);
    const Statement insertRow = prepare(db_, "INSERT INTO trend_row (page_id, row, at, samples) VALUES (?, ?, ?, ?)");
    if (!insertRow) return failPut(error);
    for (int r = 0; r < rows; ++r) {
        const QDateTime at = TrendPageTimes::rowTime(page, r);
        const QByteArray samples = rowSamples(page, r);
        sqlite3_reset(insertRow.get());
        sqlite3_bind_int64(insertRow.get(), 1, pageId);
        sqlite3_bind_int(insertRow.get(), 2, r);
        sqlite3_bind_int64(insertRow.get(), 3, at.isValid() ? secondsOf(at) : secondsOf(archived.key.start));
        sqlite3_bind_blob(insertRow.get(), 4, samples.constData(), int(samples.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(insertRow.get()) != SQLITE_DONE) return failPut(error);
        if (rowWritten) rowWritten(r);
    }
    if (!exec("COMMIT")) return failPut(error);
    return how;
}

std::vector<ArchivedPage> ArchivePageStore::pages(int station, int block, const QDateTime &from, const QDateTime &to) const {
    std::vector<ArchivedPage> out;
    if (!db_) return out;
    const Statement s = prepare(db_,
                                "SELECT id, start_at, page_number, finished, row_count, times FROM trend_page"
                                " WHERE station = ? AND block = ? AND last_at >= ? AND first_at <= ? ORDER BY start_at");
    const Statement rowsOf = prepare(db_, "SELECT row, samples FROM trend_row WHERE page_id = ? ORDER BY row");
    if (!s || !rowsOf) return out;
    sqlite3_bind_int(s.get(), 1, station);
    sqlite3_bind_int(s.get(), 2, block);
    sqlite3_bind_int64(s.get(), 3, from.isValid() ? secondsOf(from) : std::numeric_limits<qint64>::min());
    sqlite3_bind_int64(s.get(), 4, to.isValid() ? secondsOf(to) : std::numeric_limits<qint64>::max());
    while (sqlite3_step(s.get()) == SQLITE_ROW) {
        ArchivedPage a;
        a.key = ArchivePageKey{station, block, QDateTime::fromSecsSinceEpoch(sqlite3_column_int64(s.get(), 1), Qt::UTC)};
        a.page.pageNumber = sqlite3_column_int(s.get(), 2);
        a.finished = sqlite3_column_int(s.get(), 3) != 0;
        a.page.rowCount = sqlite3_column_int(s.get(), 4);
        if (sqlite3_column_bytes(s.get(), 5) == int(a.page.time.size()))
            std::memcpy(a.page.time.data(), sqlite3_column_blob(s.get(), 5), a.page.time.size());
        sqlite3_reset(rowsOf.get());
        sqlite3_bind_int64(rowsOf.get(), 1, sqlite3_column_int64(s.get(), 0));
        while (sqlite3_step(rowsOf.get()) == SQLITE_ROW)
            putRowSamples(a.page, sqlite3_column_int(rowsOf.get(), 0), sqlite3_column_blob(rowsOf.get(), 1),
                          sqlite3_column_bytes(rowsOf.get(), 1));
        out.push_back(std::move(a));
    }
    return out;
}

} // namespace z5
