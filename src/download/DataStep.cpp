#include "download/DataStep.h"
#include "download/DownloadProgress.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"
#include "model/Clock.h"
#include "model/Prompts.h"

namespace z5 {

DataStep::DataStep(Clock &clock, LineSession &line, Prompts &prompts, DownloadProgress &progress)
    : line_(line), link_(line.link()), prompts_(prompts), progress_(progress), dataTimer_(clock.createTimer()) {
    dataTimer_->setOnTimeout([this] { onDataTimer(); });
}

DataStep::~DataStep() = default;

bool DataStep::isActive() const { return dataTimer_->isActive(); }

bool DataStep::loadTable(int table, const TableBuild &build) {
    if (!build.ok()) {
        prompts_.message(build.problem, build.caption, Prompts::Kind::Error);
        progress_.tableRefused(table, build.problem);
        return false;
    }
    link_.dataBlock = build.data;
    link_.requestTable = static_cast<std::int16_t>(table);
    return true;
}

bool DataStep::sendTableHeader() { return sendHeader(false); }

bool DataStep::sendScreenHeader() { return sendHeader(true); }

bool DataStep::sendHeader(bool screen) {
    const Request header = screen ? Request::screenHeader() : Request::tableHeader(Table(link_.requestTable));
    const bool sent = line_.sendHeader(header);
    progress_.headerSent(screen ? DownloadObserver::kScreenImage : link_.requestTable, sent);
    dataTimer_->start(kIntervalMs);
    return sent;
}

void DataStep::onDataTimer() {
    const bool screen = link_.requestKind == Link::ScreenHeader;
    const int table = screen ? DownloadObserver::kScreenImage : link_.requestTable;
    const bool sent = line_.sendData();
    dataTimer_->stop();
    const int bytes = static_cast<int>(link_.dataBlock.size()) + (screen ? 2 : 0);
    progress_.dataSent(table, bytes, sent);
    // The alarm texts come after the closing, which has already given the window
    // back; every other write keeps it disabled until then. The kind is part of the
    // test: a screen write must not pass for table 11 because of a leftover field.
    const bool alarmTexts = link_.requestKind == Link::TableHeader && table == kAlarmTextsTable;
    if (alarmTexts) {
        line_.endWrite();
        progress_.finished();
    } else
        progress_.mainWindowEnabled(false);
}

} // namespace z5
