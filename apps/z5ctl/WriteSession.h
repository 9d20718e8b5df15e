#pragma once
// What the verbs that write into the controller share: the port on the device
// the user named, the line owner, the event loop's clock, the progress on standard
// error, and the loop that runs until the last block has gone out.
#include "CommandLine.h"
#include "StopSignals.h"
#include "download/DownloadLog.h"
#include "download/WriteStart.h"
#include "app/Session.h"
#include "link/LineSession.h"
#include "link/Link.h"
#include "link/PortSettings.h"
#include "link/SerialDevices.h"
#include "link/SystemSerialPort.h"
#include "record/RecordPlace.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include <QEventLoop>
#include <QTimer>

namespace z5ctl {

// The open sequence asks for the device of the settings' port number; the command line
// names its device itself, so every open, the reopening after the closing
// included, goes to that device.
class NamedDevicePort : public z5::SerialPort {
public:
    NamedDevicePort(z5::SerialPort &port, QString device) : port_(port), device_(std::move(device)) {}
    bool open(const QString &) override { return port_.open(device_); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const QByteArray &bytes) override { return port_.write(bytes); }
    qint64 bytesAvailable() const override { return port_.bytesAvailable(); }
    QByteArray readAll() override { return port_.readAll(); }
    QString errorString() const override { return port_.errorString(); }
    void setArrivalHandler(std::function<void()> handler) override { port_.setArrivalHandler(std::move(handler)); }
    void setLineErrorHandler(std::function<void(z5::LineErrors)> handler) override {
        port_.setLineErrorHandler(std::move(handler));
    }
    qint64 bytesNotYetSent() const override { return port_.bytesNotYetSent(); }
    qint64 bytesDroppedAtClose() const override { return port_.bytesDroppedAtClose(); }
    const QString &device() const { return device_; }

private:
    z5::SerialPort &port_;
    QString device_;
};

class WriteSession {
public:
    // A write that has not ended by then is reported as stuck.
    static constexpr int kDeadlineMs = 30000;

    WriteSession(const QString &verb, const QString &portOrPath)
        : verb_(verb), port_(serial_, z5::PortSettings::resolveDevice(portOrPath)),
          app(clock, port_, prompts), line(app.line),
          log(clock, [](const QString &line) { err(line); }) {
        prompts.onMessage = [this](const QString &text, const QString &caption) {
            err(caption.isEmpty() ? QStringLiteral("z5ctl %1: %2").arg(verb_, text)
                                  : QStringLiteral("z5ctl %1: %2: %3").arg(verb_, caption, text));
        };
        // The log and the session follow each write from its first step.
        QObject::connect(&line, &z5::LineSession::writeStarted, &log,
                         [this](const std::shared_ptr<z5::WriteReply> &write) { follow(write); });
        // The line knows the device it opens by its own name.
        line.useDevice(port_.device());
        app.recorder.setSerialDevices(&devices_);
    }

    // Opens the station record the write is entered in: --record FILE, else
    // the one the settings name, else the default place. When it cannot be
    // opened the write still goes, and the user is told after it that it was
    // not recorded. False then, with the reason in recordProblem().
    bool openRecord(const Arguments &a) {
        return app.recorder.open(z5::stationRecordPathToWrite(a.value(QStringLiteral("record")))).isEmpty();
    }
    const QString &recordProblem() const { return app.recorder.problem(); }

    // --station: 1..8.
    bool setStation(const QString &text) {
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok || n < z5::PortSettings::kFirstStation || n > z5::PortSettings::kLastStation) return false;
        line.changeStation(n);
        return true;
    }

    // Opens the port before anything is built for it; false after saying why.
    bool openPort() {
        const std::shared_ptr<z5::LineReply> opened = line.enqueueOpen();
        if (opened->isFinished() && opened->outcome() == z5::LineOutcome::Reply) return true;
        err(QStringLiteral("z5ctl %1: cannot open the port %2: %3")
                .arg(verb_, port_.device(), line.portErrorText().isEmpty() ? QStringLiteral("unknown reason")
                                                                           : line.portErrorText()));
        return false;
    }

    // Runs the event loop until the write has sent its last block, then closes
    // the port once that has left. 0 when every block went out, 2 when the port
    // failed on the way, 3 when the write never ended.
    int run() {
        QEventLoop loop;
        quit_ = [&loop] { loop.quit(); };
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.start(kDeadlineMs);
        StopSignals::quitOnStop(loop);
        if (!log.isFinished()) loop.exec();
        quit_ = nullptr;
        line.release();
        if (!log.isFinished() && StopSignals::received()) {
            err(QStringLiteral("z5ctl %1: stopped before the write ended").arg(verb_));
            StopSignals::markReported();
            return StopSignals::exitStatus();
        }
        if (!log.isFinished()) {
            err(QStringLiteral("z5ctl %1: the write did not end within %2 s").arg(verb_).arg(kDeadlineMs / 1000));
            return 3;
        }
        if (log.failures() > 0 || lineFailed_) {
            // A write whose bytes did not leave has said so already, with the counts.
            if (log.failures() == 0) return 2;
            const QString why = serial_.errorString();
            err(QStringLiteral("z5ctl %1: %2 step(s) did not go out on %3%4")
                    .arg(verb_)
                    .arg(log.failures())
                    .arg(port_.device(), why.isEmpty() ? QString() : QStringLiteral(": ") + why));
            return 2;
        }
        return 0;
    }

    // Opens the port and runs the write that `start` queues to its end: 2 when
    // the port does not open, 1 when the write does not start (a refusal is
    // said), else as run(). The log's times count from here.
    template <typename Start>
    int write(Start start) {
        if (!openPort()) return 2;
        log.restart();
        const z5::WriteStart started = start();
        if (!started.refusal.ok()) prompts.message(started.refusal.problem, started.refusal.caption);
        if (!started) return 1;
        return run();
    }

private:
    QString verb_;

public:
    z5::QtClock clock;

private:
    z5::SystemSerialPort serial_{clock};
    NamedDevicePort port_;
    z5::SystemSerialDevices devices_;

public:
    z5::RecordingPrompts prompts;
    // The same wiring as the configurator's; the verbs fill its project.
    z5::Session app;
    z5::LineSession &line;
    z5::DownloadLog log;

private:
    // The log and the session follow the write; a write that does not succeed
    // (no port, a failed send, bytes left behind, a refused step) fails the verb.
    void follow(const std::shared_ptr<z5::WriteReply> &write) {
        write_ = write;
        log.follow(*write);
        QObject::connect(write.get(), &z5::WriteReply::finished, &log, [this] {
            if (!write_->succeeded()) lineFailed_ = true;
            if (quit_) quit_();
        });
    }

    std::function<void()> quit_;
    std::shared_ptr<z5::WriteReply> write_;
    bool lineFailed_ = false;
};

} // namespace z5ctl
