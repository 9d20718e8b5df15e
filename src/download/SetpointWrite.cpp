#include "download/SetpointWrite.h"
#include "download/DownloadChain.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"
#include "model/Clock.h"
#include "model/Prompts.h"

namespace z5 {

SetpointWrite::SetpointWrite(DownloadChain &chain) : chain_(chain), timer_(chain.clock().createTimer()) {
    timer_->setOnTimeout([this] { onTimer(); });
    chain_.addWriteTimer(timer_.get());
}

SetpointWrite::~SetpointWrite() { chain_.removeWriteTimer(timer_.get()); }

bool SetpointWrite::isBusy() const { return timer_->isActive(); }

SetpointWrite::Outcome SetpointWrite::writeSetpoints(int block) {
    LineSession &line = chain_.line();
    if (!line.mayStart() || chain_.isBusy()) return Outcome::Busy;
    // Nothing goes out for a block whose setpoints would not arrive as entered.
    const TableBuild check = chain_.tables().checkSetpoints(block);
    if (!check.ok()) {
        chain_.prompts().message(check.problem, check.caption);
        return Outcome::Refused;
    }
    // A port that does not open ends the write at once, as a failure shown.
    if (!line.beginWrite()) return Outcome::NoPort;
    block_ = block;
    const bool sent = line.sendHeader(Request::tableHeader(Table::Setpoints, block));
    emit progress_.headerSent(kSetpointTable, sent);
    timer_->start(kIntervalMs);
    return Outcome::Started;
}

void SetpointWrite::onTimer() {
    const TableBuild build = chain_.tables().setpoints(block_);
    timer_->stop();
    if (!build.ok()) {
        // Changed since the header went out to something the wire cannot carry.
        chain_.prompts().message(build.problem, build.caption);
        emit progress_.tableRefused(kSetpointTable, build.problem);
        chain_.line().failWrite(build.problem, true);
        emit progress_.finished();
        return;
    }
    chain_.line().loadTableData(kSetpointTable, build.data);
    const bool sent = chain_.line().sendData();
    emit progress_.dataSent(kSetpointTable, static_cast<int>(build.data.size()), sent);
    chain_.line().endWrite([this] { emit progress_.finished(); });
}

} // namespace z5
