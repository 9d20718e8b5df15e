#include "download/DataStep.h"
#include "download/DownloadProgress.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"
#include "model/Clock.h"
#include "model/Prompts.h"

namespace z5 {

DataStep::DataStep(Clock &clock, LineSession &line, Prompts &prompts, DownloadProgress &progress)
    : line_(line), prompts_(prompts), progress_(progress), dataTimer_(clock.createTimer()) {
    dataTimer_->setOnTimeout([this] { onDataTimer(); });
}

DataStep::~DataStep() = default;

bool DataStep::isActive() const { return dataTimer_->isActive(); }

bool DataStep::loadTable(int table, const TableBuild &build) {
    if (!build.ok()) {
        prompts_.message(build.problem, build.caption, Prompts::Kind::Error);
        emit progress_.tableRefused(table, build.problem);
        return false;
    }
    line_.loadTableData(table, build.data);
    table_ = table;
    dataBytes_ = static_cast<int>(build.data.size());
    return true;
}

void DataStep::loadScreen(const QByteArray &stream, int checkedLength) {
    line_.loadScreenData(stream, checkedLength);
    dataBytes_ = static_cast<int>(stream.size());
}

bool DataStep::sendTableHeader() { return sendHeader(false); }

bool DataStep::sendScreenHeader() { return sendHeader(true); }

bool DataStep::sendHeader(bool screen) {
    screen_ = screen;
    const Request header = screen ? Request::screenHeader() : Request::tableHeader(Table(table_));
    const bool sent = line_.sendHeader(header);
    emit progress_.headerSent(screen ? DownloadProgress::kScreenImage : table_, sent);
    dataTimer_->start(kIntervalMs);
    return sent;
}

void DataStep::onDataTimer() {
    const bool screen = screen_;
    const int table = screen ? DownloadProgress::kScreenImage : table_;
    const bool sent = line_.sendData();
    dataTimer_->stop();
    const int bytes = dataBytes_ + (screen ? 2 : 0);
    emit progress_.dataSent(table, bytes, sent);
    // The alarm texts come after the closing, which has already given the window
    // back; every other write keeps it disabled until then. The kind is part of the
    // test: a screen write must not pass for table 11 because of a leftover field.
    const bool alarmTexts = !screen && table == kAlarmTextsTable;
    if (alarmTexts) {
        line_.endWrite([this] { emit progress_.finished(); });
    } else
        emit progress_.mainWindowEnabled(false);
}

} // namespace z5
