#include "download/DownloadChain.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"
#include "model/Clock.h"
#include "model/Prompts.h"
#include <algorithm>

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

DownloadChain::DownloadChain(Clock &clock, LineSession &line, Prompts &prompts, const DownloadTables &tables)
    : clock_(clock), line_(line), prompts_(prompts), tables_(tables),
      dataStep_(clock, line, prompts, progress_),
      closing_(clock, line, dataStep_, progress_, tables) {
    for (auto &timer : tableTimers_) timer = clock.createTimer();
    for (int i = 0; i < static_cast<int>(tableTimers_.size()); ++i)
        tableTimers_[static_cast<std::size_t>(i)]->setOnTimeout([this, i] { onTableTimer(i); });
}

DownloadChain::~DownloadChain() = default;


Timer *DownloadChain::tableTimer(int table) {
    for (std::size_t i = 0; i < tableTimers().size(); ++i)
        if (tableTimers()[i].table == table) return tableTimers_[i].get();
    return nullptr;
}

bool DownloadChain::isBusy() const {
    if (dataStep_.isActive() || closing_.isActive()) return true;
    for (const auto &t : tableTimers_)
        if (t->isActive()) return true;
    for (const Timer *t : writeTimers_)
        if (t->isActive()) return true;
    return false;
}

void DownloadChain::addWriteTimer(const Timer *timer) {
    if (timer) writeTimers_.push_back(timer);
}

void DownloadChain::removeWriteTimer(const Timer *timer) {
    writeTimers_.erase(std::remove(writeTimers_.begin(), writeTimers_.end(), timer), writeTimers_.end());
}

bool DownloadChain::startDownload() {
    if (!line_.mayStart() || isBusy()) return false;
    const TableBuild check = tables_.checkDownload();
    if (!check.ok()) {
        prompts_.message(check.problem, check.caption, Prompts::Kind::Error);
        return false;
    }
    if (!line_.beginWrite()) return false;
    closing_.start();
    const bool loaded = dataStep_.loadTable(0, tables_.table(0));
    if (loaded) dataStep_.sendTableHeader();
    // Table 0 is behind the others in nothing: if it could not be built, the rest
    // still go at their own offsets and the closing gives the window back.
    for (std::size_t i = 0; i < tableTimers_.size(); ++i) tableTimers_[i]->start(tableTimers()[i].intervalMs);
    return true;
}

void DownloadChain::onTableTimer(int index) {
    const int table = tableTimers()[static_cast<std::size_t>(index)].table;
    const bool loaded = dataStep_.loadTable(table, tables_.table(table));
    tableTimers_[static_cast<std::size_t>(index)]->stop();
    if (!loaded) return;
    dataStep_.sendTableHeader();
}

} // namespace z5
