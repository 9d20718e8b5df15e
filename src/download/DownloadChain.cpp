#include "download/DownloadChain.h"
#include "download/DownloadTables.h"
#include "link/Link.h"
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

DownloadChain::DownloadChain(Clock &clock, Link &link, Prompts &prompts, const DownloadTables &tables)
    : clock_(clock), link_(link), prompts_(prompts), tables_(tables),
      dataStep_(clock, link, prompts, progress_),
      closing_(clock, link, dataStep_, progress_, tables, NO_SEND_flag),
      grup_arr_BLOCK_LINK_SCHEMA_Timer(clock.createTimer()),
      grup_arr_BLOCK_LINK_SCHEMA_GRAFIK_Timer(clock.createTimer()),
      grup_arr_BLOCK_LINK_SCHEMA_JURNAL_timer(clock.createTimer()),
      grup_arr_BLOCK_LINK_SCHEMA_SCADA_Timer(clock.createTimer()),
      arr_func_BLOCK_name_ZADATCIK_Timer(clock.createTimer()),
      arr_func_BLOCK_name_CONTROL_PANEL_Timer(clock.createTimer()),
      word_func_BLOCK_name_1_GRAFIK_Timer(clock.createTimer()),
      word_func_BLOCK_name_1_JURNAL_Timer(clock.createTimer()),
      arr_func_BLOCK_JURNAL_read_FRAM_Timer(clock.createTimer()),
      WRITE_PARAMETR_Z5_Timer(clock.createTimer()) {
    tableTimers_ = {grup_arr_BLOCK_LINK_SCHEMA_Timer.get(),      grup_arr_BLOCK_LINK_SCHEMA_GRAFIK_Timer.get(),
                    grup_arr_BLOCK_LINK_SCHEMA_JURNAL_timer.get(), grup_arr_BLOCK_LINK_SCHEMA_SCADA_Timer.get(),
                    arr_func_BLOCK_name_ZADATCIK_Timer.get(),    arr_func_BLOCK_name_CONTROL_PANEL_Timer.get(),
                    word_func_BLOCK_name_1_GRAFIK_Timer.get(),   word_func_BLOCK_name_1_JURNAL_Timer.get(),
                    arr_func_BLOCK_JURNAL_read_FRAM_Timer.get(), WRITE_PARAMETR_Z5_Timer.get()};
    for (int i = 0; i < static_cast<int>(tableTimers_.size()); ++i)
        tableTimers_[i]->setOnTimeout([this, i] { onTableTimer(i); });
}

DownloadChain::~DownloadChain() = default;

Timer *DownloadChain::tableTimer(int table) {
    for (std::size_t i = 0; i < tableTimers().size(); ++i)
        if (tableTimers()[i].table == table) return tableTimers_[i];
    return nullptr;
}

bool DownloadChain::isBusy() const {
    if (dataStep_.isActive() || closing_.isActive()) return true;
    for (const Timer *t : tableTimers_)
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

bool DownloadChain::mnu_SCHEMA_Z5() {
    if (isBusy()) return false;
    if (!NO_SEND_flag) {
        const TableBuild check = tables_.checkDownload();
        if (!check.ok()) {
            prompts_.message(check.problem, check.caption, Prompts::Kind::Error);
            return false;
        }
        closing_.start();
    }
    const bool loaded = dataStep_.loadTable(0, tables_.table(0));
    if (NO_SEND_flag) return loaded;
    if (loaded) dataStep_.sendHeader(Link::TableHeader);
    // Table 0 is behind the others in nothing: if it could not be built, the rest
    // still go at their own offsets and the closing gives the window back.
    for (std::size_t i = 0; i < tableTimers_.size(); ++i) tableTimers_[i]->start(tableTimers()[i].intervalMs);
    return true;
}

void DownloadChain::onTableTimer(int index) {
    const int table = tableTimers()[static_cast<std::size_t>(index)].table;
    const bool loaded = dataStep_.loadTable(table, tables_.table(table));
    tableTimers_[static_cast<std::size_t>(index)]->stop();
    if (NO_SEND_flag || !loaded) return;
    dataStep_.sendHeader(Link::TableHeader);
}

} // namespace z5
