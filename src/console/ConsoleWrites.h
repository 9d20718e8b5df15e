#pragma once
#include "download/SetpointWrite.h"
#include "download/WriteStart.h"
#include <QObject>
#include <memory>

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
    // download begins. False when the download did not start (refusal() says why
    // for a value that does not fit; failure() for a port that did not open);
    // the bar then stops.
    bool startDownload();
    // "&Записать задатчики в Z5" for the setpoint programmer picked last; nothing
    // while the command is disabled. False as for the download.
    bool writeSetpoints();
    // Why the last write was refused before anything was queued.
    const TableBuild &refusal() const { return refusal_; }
    // How the last write ended: succeeded, or why not.
    bool succeeded() const { return write_ && write_->succeeded(); }
    QString failure() const { return write_ ? write_->failureText() : QString(); }

    // The command is enabled by picking a setpoint programmer and disabled by the
    // other picks, the process commands and the download.
    bool setpointsEnabled() const { return setpointBlock_ >= 0; }
    int setpointBlock() const { return setpointBlock_; }
    void enableSetpoints(int column);
    void disableSetpoints();

    // A write started here is being built or has not ended on the line.
    bool isRunning() const;
    // The write started last, if any.
    const std::shared_ptr<WriteReply> &reply() const { return write_; }

signals:
    // The write started here has sent its last block.
    void ended();
    void setpointsEnabledChanged(bool enabled);

private:
    bool follow(const WriteStart &start);
    void onWriteFinished();

    DownloadChain &chain_;
    SetpointWrite &setpoints_;
    ConsoleProgress &progress_;
    int setpointBlock_ = -1;
    // Only while a write is being built (a refusal's box may be open meanwhile).
    bool starting_ = false;
    TableBuild refusal_;
    std::shared_ptr<WriteReply> write_;
};

} // namespace z5
