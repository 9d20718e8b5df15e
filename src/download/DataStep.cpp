#include "download/DataStep.h"
#include "download/DownloadProgress.h"
#include "download/DownloadTables.h"
#include "model/Clock.h"
#include "model/Prompts.h"

namespace z5 {

DataStep::DataStep(Clock &clock, Link &link, Prompts &prompts, DownloadProgress &progress)
    : link_(link), prompts_(prompts), progress_(progress), timer1_(clock.createTimer()) {
    timer1_->setOnTimeout([this] { onTimer1(); });
}

DataStep::~DataStep() = default;

bool DataStep::isActive() const { return timer1_->isActive(); }

bool DataStep::loadTable(int table, const TableBuild &build) {
    if (!build.ok()) {
        prompts_.message(build.problem, build.caption, Prompts::Kind::Error);
        progress_.tableRefused(table, build.problem);
        return false;
    }
    link_.DATA_block = build.data;
    link_.REQUEST_table = static_cast<std::int16_t>(table);
    return true;
}

bool DataStep::sendHeader(Link::Kind kind) {
    link_.REQUEST_kind = kind;
    const bool sent = link_.SendRequest();
    progress_.headerSent(kind == Link::ScreenHeader ? DownloadObserver::kScreenImage : link_.REQUEST_table, sent);
    timer1_->start(kIntervalMs);
    return sent;
}

void DataStep::onTimer1() {
    const bool screen = link_.REQUEST_kind == Link::ScreenHeader;
    const int table = screen ? DownloadObserver::kScreenImage : link_.REQUEST_table;
    const bool sent = link_.SendDataBlock();
    timer1_->stop();
    const int bytes = static_cast<int>(link_.DATA_block.size()) + (screen ? 2 : 0);
    progress_.dataSent(table, bytes, sent);
    // The alarm texts come after the closing, which has already given the window
    // back; every other write keeps it disabled until then. The kind is part of the
    // test: a screen write must not pass for table 11 because of a leftover field.
    const bool alarmTexts = link_.REQUEST_kind == Link::TableHeader && table == kAlarmTextsTable;
    if (alarmTexts)
        progress_.finished();
    else
        progress_.mainWindowEnabled(false);
}

} // namespace z5
