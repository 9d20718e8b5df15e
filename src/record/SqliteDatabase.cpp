#include "record/SqliteDatabase.h"
#include "record/SqliteStatement.h"
#include <sqlite3.h>

namespace z5 {

SqliteDatabase::~SqliteDatabase() { sqlite3_close_v2(db_); }

bool SqliteDatabase::open(const QString &path, Open how) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (how == Open::CreateIfMissing) flags |= SQLITE_OPEN_CREATE;
    // SQLite takes file names in UTF-8 on every platform.
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) == SQLITE_OK) return true;
    openError_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return false;
}

void SqliteDatabase::setBusyTimeout(int ms) {
    if (db_) sqlite3_busy_timeout(db_, ms);
}

bool SqliteDatabase::exec(const char *sql) { return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

qint64 SqliteDatabase::number(const char *sql, qint64 fallback) {
    SqliteStatement query(db_, sql);
    return query.next() ? query.integer(0) : fallback;
}

QString SqliteDatabase::errorText() const {
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : openError_;
}

bool SqliteDatabase::lastErrorIsNotADatabase() const { return db_ && sqlite3_errcode(db_) == SQLITE_NOTADB; }

bool SqliteDatabase::commit() {
    if (exec("COMMIT")) return true;
    rollback();
    return false;
}

void SqliteDatabase::rollback() {
    // Without a transaction open this does nothing.
    if (db_ && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace z5
