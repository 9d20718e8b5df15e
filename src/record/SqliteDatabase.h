#pragma once
#include <QString>

struct sqlite3;

namespace z5 {

// One connection to an SQLite database file over the C API. Opening never
// creates or changes anything by itself: what a file holds is learnt first.
class SqliteDatabase {
public:
    enum class Open { ExistingOnly, CreateIfMissing };

    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // False with errorText() when the file cannot be opened.
    bool open(const QString &path, Open how);
    bool isOpen() const { return db_ != nullptr; }
    sqlite3 *handle() const { return db_; }
    // A statement that finds the file locked by another program retries for this long.
    void setBusyTimeout(int ms);

    // Runs statements that give no rows; false with errorText() on an error.
    bool exec(const char *sql);
    // The first column of the first row of a query giving a number; `fallback`
    // when it gives none or fails.
    qint64 number(const char *sql, qint64 fallback = -1);
    // The last error in the library's words.
    QString errorText() const;
    // The last error was "file is not a database".
    bool lastErrorIsNotADatabase() const;

    // A transaction that takes the write lock at once, so that another program
    // writing meanwhile is waited for (busy timeout) rather than run into.
    bool beginWrite() { return exec("BEGIN IMMEDIATE"); }
    bool commit();
    void rollback();

private:
    sqlite3 *db_ = nullptr;
    QString openError_;
};

} // namespace z5
