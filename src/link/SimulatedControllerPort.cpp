#include "link/SimulatedControllerPort.h"
#include "model/Clock.h"
#include "SimExampleProgram.h"
#include "SimLine.h"
#include <algorithm>

namespace z5 {

QString SimulatedControllerPort::deviceName() { return QStringLiteral("Симулятор Z5"); }

bool SimulatedControllerPort::isItsName(const QString &device) {
    const QString given = device.trimmed();
    return given == deviceName() || given.compare(QLatin1String("sim"), Qt::CaseInsensitive) == 0;
}

SimulatedControllerPort::SimulatedControllerPort(Clock &clock)
    : clock_(clock), startMs_(clock.nowMs()), timer_(clock.createTimer()),
      // One controller at station 1 with the default turnaround; replies whole
      // once the wire would have carried request and reply.
      line_(std::make_unique<z5sim::SimLine>(std::vector<z5sim::SimOptions>{z5sim::SimOptions{}},
                                             z5sim::SimLineOptions{})) {
    z5sim::SimExampleProgram::loadInto(line_->controller(0).memory());
    timer_->setOnTimeout([this] { deliverDue(); });
}

SimulatedControllerPort::~SimulatedControllerPort() = default;

std::int64_t SimulatedControllerPort::sinceStartMs() const { return clock_.nowMs() - startMs_; }

bool SimulatedControllerPort::open(const QString &device) {
    error_.clear();
    if (!isItsName(device)) {
        error_ = QStringLiteral("Порт %1 не найден.").arg(device);
        return false;
    }
    open_ = true;
    input_.clear();
    return true;
}

void SimulatedControllerPort::close() {
    open_ = false;
    input_.clear();
    timer_->stop();
    // What the controller was still sending has nowhere to go.
    while (line_->hasOutgoing()) line_->takeDue(line_->nextDueMs());
}

bool SimulatedControllerPort::write(const QByteArray &bytes) {
    if (!open_) return false;
    line_->receive(bytes, sinceStartMs());
    scheduleNext();
    return true;
}

QByteArray SimulatedControllerPort::readAll() {
    if (!open_) return QByteArray();
    QByteArray taken;
    taken.swap(input_);
    return taken;
}

void SimulatedControllerPort::deliverDue() {
    timer_->stop();
    bool arrived = false;
    for (QByteArray piece = line_->takeDue(sinceStartMs()); !piece.isEmpty(); piece = line_->takeDue(sinceStartMs())) {
        input_.append(piece);
        arrived = true;
    }
    // A copy: the reader may replace the handler, or write the next request, while it runs.
    if (arrived && open_)
        if (const auto handler = arrived_) handler();
    scheduleNext();
}

void SimulatedControllerPort::scheduleNext() {
    if (!open_ || !line_->hasOutgoing()) return;
    timer_->start(int(std::clamp<std::int64_t>(line_->nextDueMs() - sinceStartMs(), 1, 60000)));
}

} // namespace z5
