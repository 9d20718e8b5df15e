#include "download/DownloadChain.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"

namespace z5 {

const std::array<DownloadChain::TableTimer, 10> &DownloadChain::tableTimers() {
    static const std::array<TableTimer, 10> timers{{
        {Table::Links, 500},
        {Table::TrendLinks, 1000},
        {Table::JournalLinks, 1200},
        {Table::ScreenLinks, 1400},
        {Table::SetpointNames, 1900},
        {Table::PanelTexts, 2500},
        {Table::TrendNames, 3000},
        {Table::JournalNames, 3500},
        {Table::JournalBytes, 4000},
        {Table::Parameters, 4200},
    }};
    return timers;
}

DownloadChain::DownloadChain(Clock &clock, LineSession &line, const DownloadTables &tables)
    : clock_(clock), line_(line), tables_(tables) {}

WriteSequence DownloadChain::sequence(const DownloadTables &tables) {
    WriteSequence sequence;
    const DownloadTables *source = &tables;
    const auto table = [source](Table t) {
        return [source, n = tableNumber(t)] { return tableBlock(source->table(n)); };
    };
    // The closing opens with the download: the bar shows before table 0 goes.
    ClosingSequence::append(sequence, 0, tables);
    // Table 0 is behind the others in nothing: if it could not be built, the rest
    // still go at their own offsets and the closing gives the window back.
    DataStep::appendTable(sequence, 0, Table::Blocks, table(Table::Blocks));
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
