#pragma once
#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace z5 {

// One prepared SQL statement over the SQLite C API: values are bound by
// position (1 first), rows are stepped through and columns read by index (0
// first). It finalises itself when it goes.
class SqliteStatement {
public:
    SqliteStatement(sqlite3 *db, const char *sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // False when the statement could not be prepared (see the database's error).
    bool isValid() const { return statement_ != nullptr; }

    SqliteStatement &bind(int index, qint64 value);
    SqliteStatement &bind(int index, const QString &text);
    SqliteStatement &bindBlob(int index, const QByteArray &bytes);
    SqliteStatement &bindNull(int index);

    // Runs to the next row: true while there is one. A statement that ended
    // with an error returns false and sets failed().
    bool next();
    // Runs a statement that gives no rows; false on an error.
    bool run();
    bool failed() const { return failed_; }
    // Binds anew and runs again.
    void reset();

    qint64 integer(int column) const;
    QString text(int column) const;
    QByteArray blob(int column) const;
    bool isNull(int column) const;

private:
    sqlite3_stmt *statement_ = nullptr;
    bool failed_ = false;
};

} // namespace z5
