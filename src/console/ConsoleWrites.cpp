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
    if (isRunning()) return false;
    disableSetpoints();
    starting_ = true;
    const bool started = follow(chain_.startDownload());
    starting_ = false;
    // The bar moves only once the chain has started: a refusal (its box open) leaves it still.
    if (!started) {
        progress_.stop();
        progress_.setValue(0);
        return false;
    }
    progress_.restart(ConsoleProgress::kDownloadIntervalMs);
    return true;
}

bool ConsoleWrites::writeSetpoints() {
    if (isRunning() || setpointBlock_ < 0) return false;
    starting_ = true;
    const bool started = follow(setpoints_.writeSetpoints(setpointBlock_));
    starting_ = false;
    return started;
}

bool ConsoleWrites::isRunning() const { return starting_ || (write_ && !write_->isFinished()); }

void ConsoleWrites::onWriteFinished() { emit ended(); }

} // namespace z5
