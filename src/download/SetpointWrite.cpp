#include "download/SetpointWrite.h"
#include "download/DownloadChain.h"
#include "download/DownloadTables.h"
#include "link/Link.h"
#include "model/Clock.h"
#include "model/Prompts.h"

namespace z5 {

SetpointWrite::SetpointWrite(DownloadChain &chain) : chain_(chain), timer_(chain.clock().createTimer()) {
    timer_->setOnTimeout([this] { onTimer(); });
    chain_.addWriteTimer(timer_.get());
}

SetpointWrite::~SetpointWrite() { chain_.removeWriteTimer(timer_.get()); }

bool SetpointWrite::isBusy() const { return timer_->isActive(); }

SetpointWrite::Outcome SetpointWrite::mnuSAVE_ZADATCIKI(int block) {
    if (chain_.isBusy()) return Outcome::Busy;
    Link &link = chain_.link();
    const bool noSend = chain_.NO_SEND_flag;
    if (!noSend) {
        // Nothing goes out for a block whose setpoints would not arrive as entered.
        const TableBuild check = chain_.tables().checkSetpoints(block);
        if (!check.ok()) {
            chain_.prompts().message(check.problem, check.caption);
            return Outcome::Refused;
        }
        // A port that does not open ends the command quietly.
        if (!link.openPort()) return Outcome::NoPort;
    }
    link.REQUEST_table = kSetpointTable;
    link.REQUEST_block = static_cast<std::int16_t>(block);
    if (noSend) return Outcome::Started;
    link.REQUEST_kind = Link::TableHeader;
    const bool sent = link.SendRequest();
    progress_.headerSent(kSetpointTable, sent);
    timer_->start(kIntervalMs);
    return Outcome::Started;
}

void SetpointWrite::onTimer() {
    Link &link = chain_.link();
    const TableBuild build = chain_.tables().setpoints(link.REQUEST_block);
    timer_->stop();
    if (!build.ok()) {
        // Changed since the header went out to something the wire cannot carry.
        chain_.prompts().message(build.problem, build.caption);
        progress_.tableRefused(kSetpointTable, build.problem);
        progress_.finished();
        return;
    }
    link.DATA_block = build.data;
    link.REQUEST_table = kSetpointTable;
    if (chain_.NO_SEND_flag) return;
    const bool sent = link.SendDataBlock();
    progress_.dataSent(kSetpointTable, static_cast<int>(build.data.size()), sent);
    progress_.finished();
}

} // namespace z5
