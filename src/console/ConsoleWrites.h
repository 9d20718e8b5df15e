#pragma once
#include "download/SetpointWrite.h"
#include <QObject>

namespace z5 {

class ConsoleProgress;
class DownloadChain;

// The writes the console starts from its "&Контроллер" menu: the configuration
// download and the setpoint write of the setpoint programmer picked last. The
// console stays unusable from the start of a write to its last block.
class ConsoleWrites : public QObject {
    Q_OBJECT
public:
    ConsoleWrites(DownloadChain &chain, SetpointWrite &setpoints, ConsoleProgress &progress);
    ConsoleWrites(const ConsoleWrites &) = delete;
    ConsoleWrites &operator=(const ConsoleWrites &) = delete;

    // "&Записать схему в Z5": the console's bar restarts at 100 ms a step and the
    // download begins. False when the download did not start (a value that does
    // not fit was reported, or another write is under way); the bar then stops.
    bool startDownload();
    // "&Записать задатчики в Z5" for the setpoint programmer picked last; nothing
    // while the command is disabled.
    SetpointWrite::Outcome writeSetpoints();

    // The command is enabled by picking a setpoint programmer and disabled by the
    // other picks, the process commands and the download.
    bool setpointsEnabled() const { return setpointBlock_ >= 0; }
    int setpointBlock() const { return setpointBlock_; }
    void enableSetpoints(int column);
    void disableSetpoints();

    bool isRunning() const { return running_; }

signals:
    // The write started here has sent its last block.
    void ended();
    void setpointsEnabledChanged(bool enabled);

private:
    void onWriteFinished();
    void finish();

    DownloadChain &chain_;
    SetpointWrite &setpoints_;
    ConsoleProgress &progress_;
    int setpointBlock_ = -1;
    bool running_ = false;
};

} // namespace z5
