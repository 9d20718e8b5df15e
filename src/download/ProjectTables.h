#pragma once
#include "link/WireSizes.h"
#include "model/Project.h"
#include <QByteArray>
#include <array>

namespace z5 {

// Data blocks of the project tables exactly as they go on the wire. Every value is
// one byte; the import keeps the tables within 0..255, and a value outside would be
// sent as its low byte.
class ProjectTables {
public:
    // The tables built from the project alone, in table order.
    static constexpr std::array<Table, 5> kTables{Table::Blocks, Table::Links, Table::TrendLinks,
                                                  Table::JournalLinks, Table::ScreenLinks};

    // `Table::Blocks`: "0", then `Project::schema` row by row (1 + 500 bytes).
    static QByteArray blockSchema(const Project &project);
    // `Table::Links`: "0", then `Project::link` row by row over its 16 rows (1 + 1600 bytes).
    static QByteArray blockLinkSchema(const Project &project);
    // `Table::TrendLinks`: `Project::trendLink` elements 0..63 (64 bytes).
    static QByteArray trendLinkSchema(const Project &project);
    // `Table::JournalLinks`: `Project::journalLink` elements 0..67, the journal inversion mask last (68 bytes).
    static QByteArray journalLinkSchema(const Project &project);
    // `Table::ScreenLinks`: `Project::scadaLink` page by page, 68 elements each (544 bytes).
    static QByteArray scadaLinkSchema(const Project &project);

    // The data block of one of `kTables`; empty for any other table.
    static QByteArray table(Table table, const Project &project);
};

} // namespace z5
