#include "console/ConsoleWrites.h"
#include "console/ConsoleProgress.h"
#include "download/DownloadChain.h"

namespace z5 {

ConsoleWrites::ConsoleWrites(DownloadChain &chain, SetpointWrite &setpoints, ConsoleProgress &progress)
    : chain_(chain), setpoints_(setpoints), progress_(progress) {}

// Keeps the write's reply; false when it did not start.
bool ConsoleWrites::follow(const WriteStart &start) {
    refusal_ = start.refusal;
    if (write_) disconnect(write_.get(), nullptr, this, nullptr);
    write_ = start.reply;
    if (!start.started()) return false;
    connect(write_.get(), &WriteReply::finished, this, &ConsoleWrites::onWriteFinished);
    return true;
}

void ConsoleWrites::enableSetpoints(int column) {
    const bool changed = setpointBlock_ < 0;
    setpointBlock_ = column;
    if (changed) emit setpointsEnabledChanged(true);
}

void ConsoleWrites::disableSetpoints() {
    const bool changed = setpointBlock_ >= 0;
    setpointBlock_ = -1;
    if (changed) emit setpointsEnabledChanged(false);
}

bool ConsoleWrites::startDownload() {
    if (running_) return false;
    disableSetpoints();
    running_ = true;
    // The bar moves only once the chain has started: a refusal (its box open) leaves it still.
    if (!follow(chain_.startDownload())) {
        running_ = false;
        progress_.stop();
        progress_.setValue(0);
        return false;
    }
    progress_.restart(ConsoleProgress::kDownloadIntervalMs);
    return true;
}

bool ConsoleWrites::writeSetpoints() {
    if (running_ || setpointBlock_ < 0) return false;
    running_ = true;
    if (!follow(setpoints_.writeSetpoints(setpointBlock_))) running_ = false;
    return running_;
}

void ConsoleWrites::onWriteFinished() {
    if (running_) finish();
}

void ConsoleWrites::finish() {
    running_ = false;
    emit ended();
}

} // namespace z5
