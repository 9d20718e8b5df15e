// z5ctl command: sends a process command and prints the process state it reports.
#include "CommandLine.h"
#include "link/BlockReply.h"
#include "link/BlockingExchange.h"
#include "link/Link.h"
#include "link/PortSettings.h"
#include "link/QtSerialPort.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include <QMap>

namespace {

const QString kUsage =
    QStringLiteral("command --port DEV [--station N] start|pause|picture|store   (DEV: COM1..COM16 or a device path)");

int usage(const QString &why) {
    z5ctl::err(QStringLiteral("z5ctl command: %1").arg(why));
    z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
    return 2;
}

int runCommand(const QStringList &args) {
    static const QMap<QString, std::uint8_t> codes{
        {QStringLiteral("pause"), z5::Link::PauseProcess},
        {QStringLiteral("start"), z5::Link::StartProcess},
        {QStringLiteral("picture"), z5::Link::ProcessPicture},
        {QStringLiteral("store"), z5::Link::StoreSchema},
    };
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (a.positionals().size() != 1 || !codes.contains(a.positionals().first()))
        return usage(QStringLiteral("name one command: start, pause, picture or store"));
    if (!a.has(QStringLiteral("port"))) return usage(QStringLiteral("--port is required"));
    bool ok = false;
    const int station = a.value(QStringLiteral("station"), QStringLiteral("1")).toInt(&ok);
    if (!ok || station < z5::PortSettings::kFirstStation || station > z5::PortSettings::kLastStation)
        return usage(QStringLiteral("--station is 1..8"));

    const QString device = z5::PortSettings::resolveDevice(a.value(QStringLiteral("port")));
    z5::QtSerialPort port;
    z5::RecordingPrompts prompts;
    z5::Link link(port, prompts);
    link.settings.NET_Z5_number = station;
    if (!port.open(device)) {
        z5ctl::err(QStringLiteral("z5ctl command: cannot open %1: %2").arg(device, port.errorString()));
        return 1;
    }
    link.REQUEST_kind = z5::Link::Command;
    link.REQUEST_code = codes.value(a.positionals().first());
    link.REQUEST_block = 0;
    z5::QtClock clock;
    z5::BlockingExchange exchange(link, clock, prompts);
    const auto ending = exchange.run();
    port.close();
    using Ending = z5::ReplyReception::Ending;
    if (ending != Ending::Reply) {
        QString why;
        switch (ending) {
        case Ending::WrongCheckValue: why = QStringLiteral("the reply's check value was wrong"); break;
        case Ending::Watchdog: why = QStringLiteral("no complete reply within 1000 ms"); break;
        default: why = QStringLiteral("the port failed: %1").arg(port.errorString()); break;
        }
        z5ctl::err(QStringLiteral("z5ctl command: no valid reply from station %1 (%2)").arg(station).arg(why));
        return 1;
    }
    z5ctl::out(z5::BlockReply::processRuns(exchange.reply()) ? QStringLiteral("process: running")
                                                             : QStringLiteral("process: stopped"));
    return 0;
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("command"), kUsage, runCommand);

} // namespace
