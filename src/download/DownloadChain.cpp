#include "download/DownloadChain.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"

namespace z5 {

const std::array<DownloadChain::TableTimer, 10> &DownloadChain::tableTimers() {
    static const std::array<TableTimer, 10> timers{{
        {1, 500, "grup_arr_BLOCK_LINK_SCHEMA_Timer"},
        {2, 1000, "grup_arr_BLOCK_LINK_SCHEMA_GRAFIK_Timer"},
        {3, 1200, "grup_arr_BLOCK_LINK_SCHEMA_JURNAL_timer"},
        {4, 1400, "grup_arr_BLOCK_LINK_SCHEMA_SCADA_Timer"},
        {5, 1900, "arr_func_BLOCK_name_ZADATCIK_Timer"},
        {6, 2500, "arr_func_BLOCK_name_CONTROL_PANEL_Timer"},
        {7, 3000, "word_func_BLOCK_name_1_GRAFIK_Timer"},
        {8, 3500, "word_func_BLOCK_name_1_JURNAL_Timer"},
        {9, 4000, "arr_func_BLOCK_JURNAL_read_FRAM_Timer"},
        {10, 4200, "WRITE_PARAMETR_Z5_Timer"},
    }};
    return timers;
}

DownloadChain::DownloadChain(Clock &clock, LineSession &line, const DownloadTables &tables)
    : clock_(clock), line_(line), tables_(tables) {}

WriteSequence DownloadChain::sequence(const DownloadTables &tables) {
    WriteSequence sequence;
    const DownloadTables *source = &tables;
    const auto table = [source](int n) { return [source, n] { return tableBlock(source->table(n)); }; };
    // The closing opens with the download: the bar shows before table 0 goes.
    ClosingSequence::append(sequence, 0, tables);
    // Table 0 is behind the others in nothing: if it could not be built, the rest
    // still go at their own offsets and the closing gives the window back.
    DataStep::appendTable(sequence, 0, 0, table(0));
    for (const TableTimer &t : tableTimers()) DataStep::appendTable(sequence, t.intervalMs, t.table, table(t.table));
    return sequence;
}

WriteStart DownloadChain::startDownload() {
    WriteStart start;
    start.refusal = tables_.checkDownload();
    if (!start.refusal.ok()) return start;
    start.reply = line_.enqueue(sequence(tables_));
    return start;
}

} // namespace z5
