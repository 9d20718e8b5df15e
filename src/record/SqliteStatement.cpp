#include "record/SqliteStatement.h"
#include <sqlite3.h>

namespace z5 {

SqliteStatement::SqliteStatement(sqlite3 *db, const char *sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        failed_ = true;
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement &SqliteStatement::bind(int index, qint64 value) {
    if (statement_) sqlite3_bind_int64(statement_, index, value);
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, const QString &text) {
    const QByteArray utf8 = text.toUtf8();
    if (statement_) sqlite3_bind_text(statement_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement &SqliteStatement::bindBlob(int index, const QByteArray &bytes) {
    // An empty blob is still a blob, not NULL.
    if (statement_) sqlite3_bind_blob(statement_, index, bytes.constData() ? bytes.constData() : "", int(bytes.size()),
                                      SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement &SqliteStatement::bindNull(int index) {
    if (statement_) sqlite3_bind_null(statement_, index);
    return *this;
}

bool SqliteStatement::next() {
    if (!statement_ || failed_) return false;
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) failed_ = true;
    return false;
}

bool SqliteStatement::run() {
    next();
    return !failed_;
}

void SqliteStatement::reset() {
    if (!statement_) return;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    failed_ = false;
}

qint64 SqliteStatement::integer(int column) const { return sqlite3_column_int64(statement_, column); }

QString SqliteStatement::text(int column) const {
    const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(statement_, column));
    return chars ? QString::fromUtf8(chars, sqlite3_column_bytes(statement_, column)) : QString();
}

QByteArray SqliteStatement::blob(int column) const {
    const void *data = sqlite3_column_blob(statement_, column);
    return data ? QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(statement_, column)) : QByteArray();
}

bool SqliteStatement::isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

} // namespace z5
