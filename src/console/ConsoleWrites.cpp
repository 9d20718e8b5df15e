#include "console/ConsoleWrites.h"
#include "console/ConsoleProgress.h"
#include "download/DownloadChain.h"
#include "download/DownloadProgress.h"

namespace z5 {

ConsoleWrites::ConsoleWrites(DownloadChain &chain, SetpointWrite &setpoints, ConsoleProgress &progress)
    : chain_(chain), setpoints_(setpoints), progress_(progress) {
    connect(&chain_.progress(), &DownloadProgress::finished, this, &ConsoleWrites::onWriteFinished);
    connect(&setpoints_.progress(), &DownloadProgress::finished, this, &ConsoleWrites::onWriteFinished);
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
    if (!chain_.startDownload()) {
        running_ = false;
        progress_.stop();
        progress_.setValue(0);
        return false;
    }
    progress_.restart(ConsoleProgress::kDownloadIntervalMs);
    // A chain that sends nothing (the screen designer is saving) is over at once.
    if (!chain_.isBusy()) finish();
    return true;
}

SetpointWrite::Outcome ConsoleWrites::writeSetpoints() {
    if (running_ || setpointBlock_ < 0) return SetpointWrite::Outcome::Busy;
    running_ = true;
    const SetpointWrite::Outcome outcome = setpoints_.writeSetpoints(setpointBlock_);
    if (outcome != SetpointWrite::Outcome::Started || !setpoints_.isBusy()) running_ = false;
    return outcome;
}

void ConsoleWrites::onWriteFinished() {
    if (running_) finish();
}

void ConsoleWrites::finish() {
    running_ = false;
    emit ended();
}

} // namespace z5
