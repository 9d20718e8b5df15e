#pragma once
#include "link/SerialPort.h"
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

namespace z5sim {
class SimLine;
}

namespace z5 {

class Clock;
class Timer;

// A controller simulated inside the program, offered as a port of its own on
// every platform, so that the program can be tried without hardware. What is
// written reaches the simulated controller (station 1); its replies come back
// on the clock's timer whole, once the wire would have carried the request and
// the reply, and the arrival handler is called. It starts with the example
// program loaded and keeps whatever is written into it (program, parameters,
// setpoints, trend archive) for as long as the port object lives, across closes
// and opens, as a real controller keeps it while the configurator lets go of
// its line. It never goes away and takes no lock: every program has its own.
class SimulatedControllerPort : public SerialPort {
public:
    // The name it is listed and remembered under: "Симулятор Z5".
    static QString deviceName();
    // Whether a device name given by the user stands for it: the name above or
    // "sim" (any case).
    static bool isItsName(const QString &device);

    explicit SimulatedControllerPort(Clock &clock);
    ~SimulatedControllerPort() override;
    SimulatedControllerPort(const SimulatedControllerPort &) = delete;
    SimulatedControllerPort &operator=(const SimulatedControllerPort &) = delete;

    bool open(const QString &device) override;
    // Replies still on their way are lost, as on a line let go of.
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override { return open_ ? input_.size() : 0; }
    QByteArray readAll() override;
    QString errorString() const override { return error_; }
    void setArrivalHandler(std::function<void()> handler) override { arrived_ = std::move(handler); }

    // The simulated line and its controller, for a look at what it holds.
    const z5sim::SimLine &line() const { return *line_; }

private:
    // Milliseconds since the controller was switched on.
    std::int64_t sinceStartMs() const;
    void deliverDue();
    void scheduleNext();

    Clock &clock_;
    const std::int64_t startMs_;
    std::unique_ptr<Timer> timer_;
    std::unique_ptr<z5sim::SimLine> line_;
    bool open_ = false;
    QByteArray input_;
    QString error_;
    std::function<void()> arrived_;
};

} // namespace z5
