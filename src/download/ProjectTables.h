#pragma once
#include "model/Project.h"
#include <QByteArray>

namespace z5 {

// Data blocks of the project tables exactly as they go on the wire. Every value is
// one byte; the import keeps the tables within 0..255, and a value outside would be
// sent as its low byte.
class ProjectTables {
public:
    static constexpr int kFirstTable = 0;
    static constexpr int kLastTable = 4;

    // Table 0: "0", then `arr_BLOCK_SCHEMA` row by row (1 + 500 bytes).
    static QByteArray blockSchema(const Project &project);
    // Table 1: "0", then `arr_BLOCK_LINK_SCHEMA` row by row over its 16 rows (1 + 1600 bytes).
    static QByteArray blockLinkSchema(const Project &project);
    // Table 2: `arr_BLOCK_LINK_SCHEMA_GRAFIK` elements 0..63 (64 bytes).
    static QByteArray trendLinkSchema(const Project &project);
    // Table 3: `arr_BLOCK_LINK_SCHEMA_JURNAL` elements 0..67, the journal inversion mask last (68 bytes).
    static QByteArray journalLinkSchema(const Project &project);
    // Table 4: `arr_BLOCK_LINK_SCHEMA_SCADA` page by page, 68 elements each (544 bytes).
    static QByteArray scadaLinkSchema(const Project &project);

    // The data block of table 0..4; empty for any other table.
    static QByteArray table(int number, const Project &project);
};

} // namespace z5
