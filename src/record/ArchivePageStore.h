#pragma once
#include "trends/ArchivePages.h"
#include <QString>
#include <functional>

struct sqlite3;

namespace z5 {

// The pages read from recorders' archives, kept in an SQLite file (the station
// record's): one row per page with its identity, number, times and whether it
// was finished when read, and one row per valid row of the page with its time
// and 32 samples. Each page goes in as one transaction, whole or not at all. The
// file is opened in write-ahead mode with a busy timeout, so that another
// program reading or writing it meanwhile is waited for.
class ArchivePageStore : public ArchivePages {
public:
    static constexpr int kBusyTimeoutMs = 5000;

    ArchivePageStore() = default;
    ~ArchivePageStore() override;
    ArchivePageStore(const ArchivePageStore &) = delete;
    ArchivePageStore &operator=(const ArchivePageStore &) = delete;

    // Opens (or creates) the file and its archive tables; false with the reason.
    bool open(const QString &path, QString *error = nullptr);
    bool isOpen() const { return db_ != nullptr; }

    bool has(const ArchivePageKey &key) const override;
    Put put(const ArchivedPage &page, QString *error = nullptr) override;
    std::vector<ArchivedPage> pages(int station, int block, const QDateTime &from = {},
                                    const QDateTime &to = {}) const override;

    // Told after each row a put has written, inside its transaction (tests stop the program there).
    std::function<void(int row)> rowWritten;

private:
    bool exec(const char *sql) const;
    QString errorText() const;
    Put failPut(QString *error);

    sqlite3 *db_ = nullptr;
};

} // namespace z5
