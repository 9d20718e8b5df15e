#include "ReadSession.h"
#include "link/BlockingExchange.h"
#include "link/PortSettings.h"

namespace z5ctl {

QString ReadSession::configure(const Arguments &a) {
    if (const QString problem = portProblem(a); !problem.isEmpty()) return problem;
    bool ok = false;
    const int station = a.value(QStringLiteral("station"), QStringLiteral("1")).toInt(&ok);
    if (!ok || station < z5::PortSettings::kFirstStation || station > z5::PortSettings::kLastStation)
        return QStringLiteral("--station is 1..8");
    line.changeStation(station);
    device_ = z5::PortSettings::resolveDevice(a.value(QStringLiteral("port")));
    return QString();
}

bool ReadSession::open(bool quietly) {
    line.useDevice(device_);
    const std::shared_ptr<z5::LineReply> opened = line.enqueueOpen();
    if (opened->isFinished() && opened->outcome() == z5::LineOutcome::Reply) return true;
    if (quietly) return false;
    err(QStringLiteral("z5ctl %1: cannot open %2: %3").arg(verb_, device_, line.portErrorText()));
    return false;
}

bool ReadSession::exchange(const z5::Request &request) {
    z5::BlockingExchange exchange(line);
    const auto outcome = exchange.run(request);
    line.release();
    using Outcome = z5::LineSession::Outcome;
    switch (outcome) {
    case Outcome::Reply: reply_ = exchange.reply(); return true;
    case Outcome::WrongCheckValue: failure_ = QStringLiteral("the reply's check value was wrong"); break;
    case Outcome::NoReply: failure_ = QStringLiteral("no complete reply within 1000 ms"); break;
    default:
        portFailed_ = true;
        failure_ = QStringLiteral("the port failed: %1").arg(line.portErrorText());
        break;
    }
    return false;
}

} // namespace z5ctl
