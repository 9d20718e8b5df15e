#pragma once
#include "record/RecordedWrite.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace z5 {

class SqliteDatabase;

// The station record: every write to a controller made from this computer,
// kept in one SQLite file that several programs may share (write-ahead log,
// a busy timeout). A write is entered as unfinished when it starts, its steps
// are added as they go out and it is completed when it ends, each in a
// transaction of its own: a program killed at any moment leaves every entry
// either complete or unfinished, never half-written. A file that is no record,
// or a record of a newer program, is refused and left as it is.
class StationRecord : public WriteHistory {
public:
    static constexpr int kSchemaVersion = 1;
    // Marks an SQLite file as a station record ("Z5RC").
    static constexpr int kApplicationId = 0x5A355243;
    // How long a step waits for another program writing into the same file.
    static constexpr int kBusyTimeoutMs = 5000;

    enum class Use {
        Writing,     // the file is created when missing (its folder must exist)
        ReadingOnly  // the file must be there
    };
    // Null when the file cannot be used; `problem` then says why, in the user's words.
    static std::unique_ptr<StationRecord> open(const QString &path, Use use, QString *problem);
    ~StationRecord() override;

    const QString &path() const { return path_; }
    // How long a step waits for another program writing (kBusyTimeoutMs at first).
    void setBusyTimeoutMs(int ms);
    // Why the last step failed, in the library's words.
    const QString &lastError() const { return lastError_; }

    // --- Writing -----------------------------------------------------------
    // A header or data block as it went out, or the port's closing or reopening.
    struct Step {
        enum class What { Header, Data, Close, Reopen };
        qint64 atMs = 0;
        What what = What::Header;
        int tag = 0;
        QByteArray bytes;
    };
    // Enters a write as it starts: everything but its steps and outcome, as
    // unfinished. Its id, or 0 when it could not be entered.
    qint64 enterStarted(const RecordedWrite &write);
    // Adds steps to the write under way, numbered on from `firstNumber`.
    bool addSteps(qint64 id, int firstNumber, const std::vector<Step> &steps);
    // Adds the last steps and completes the entry with the outcome of `write`
    // (state, end, failure, bytes sent and total, port and adapter), all in one.
    bool complete(qint64 id, int firstNumber, const std::vector<Step> &steps, const RecordedWrite &write);
    // Moves what the log holds into the file, when nobody is reading it.
    void checkpoint();

    // --- Reading -----------------------------------------------------------
    std::map<int, QByteArray> lastWrittenData(int station, const QByteArray &netlistHash) const override;
    std::vector<RecordedWrite> entries(const QDateTime &from, const QDateTime &to, int station = 0) const override;
    // The same without the pieces: for lists.
    std::vector<RecordedWrite> summaries(const QDateTime &from, const QDateTime &to, int station = 0) const;
    std::optional<RecordedWrite> entry(qint64 id) const;
    // What is wrong inside the file: a damaged database, or an entry that is
    // neither unfinished nor complete with every step. Empty when all is well.
    QStringList inconsistencies() const;

private:
    StationRecord(QString path, std::unique_ptr<SqliteDatabase> db);
    // Creates the tables in a file that holds none, or checks the version of a record.
    QString prepare(Use use);
    bool insertSteps(qint64 id, int firstNumber, const std::vector<Step> &steps);
    std::vector<RecordedWrite> select(const QDateTime &from, const QDateTime &to, int station, bool withPieces) const;
    void readSteps(RecordedWrite &write) const;
    bool fail();

    QString path_;
    std::unique_ptr<SqliteDatabase> db_;
    mutable QString lastError_;
};

} // namespace z5
