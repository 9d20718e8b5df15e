#pragma once
#include "trends/TrendPage.h"
#include <QDateTime>
#include <QString>
#include <vector>

namespace z5 {

// What tells one page of a recorder's archive from every other: the station and
// the recorder block it came from, and where the page began on the controller's
// clock (its date and first time of day). The page number is no part of it: the
// recorder reuses its 250 numbers round after round.
struct ArchivePageKey {
    int station = 1;
    int block = 0;        // the recorder's column (U1 is 0)
    QDateTime start;      // the controller's clock, kept as UTC (it names no zone)

    bool isValid() const { return start.isValid(); }
    bool operator==(const ArchivePageKey &o) const { return station == o.station && block == o.block && start == o.start; }
};

// One page as the archive keeps it.
struct ArchivedPage {
    ArchivePageKey key;
    TrendPage page;         // number, valid rows, date and times, samples
    // False for a page stored while the controller was still recording it: it
    // is read again until it is stored finished.
    bool finished = true;
};

// The store that pages read from the archive go into, each whole or not at all.
class ArchivePages {
public:
    enum class Put { Stored, Replaced, AlreadyStored, Failed };

    virtual ~ArchivePages() = default;
    // A finished page of this identity is stored (one stored unfinished does not count).
    virtual bool has(const ArchivePageKey &key) const = 0;
    // Stores the page whole: a page of the same identity stored unfinished is
    // replaced, one stored finished is kept (AlreadyStored). Failed says why in `error`.
    virtual Put put(const ArchivedPage &page, QString *error = nullptr) = 0;
    // The pages of a recorder with a valid row within [from, to] (an invalid
    // bound is open), in the order they began.
    virtual std::vector<ArchivedPage> pages(int station, int block, const QDateTime &from = {},
                                            const QDateTime &to = {}) const = 0;
};

} // namespace z5
