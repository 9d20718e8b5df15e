// z5ctl read-block: reads one block's live values and prints its eight rows.
#include "CommandLine.h"
#include "link/BlockReply.h"
#include "link/BlockingExchange.h"
#include "link/Link.h"
#include "link/PortSettings.h"
#include "link/QtSerialPort.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"

namespace {

const QString kUsage = QStringLiteral("read-block --port DEV [--station N] --block N   (DEV: COM1..COM16 or a device path; "
                                      "N: block number of U<N>)");

int usage(const QString &why) {
    z5ctl::err(QStringLiteral("z5ctl read-block: %1").arg(why));
    z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
    return 2;
}

QString number(double v) { return QString::number(v, 'f', 3); }

int runReadBlock(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (!a.positionals().isEmpty()) return usage(QStringLiteral("unexpected '%1'").arg(a.positionals().first()));
    if (!a.has(QStringLiteral("port"))) return usage(QStringLiteral("--port is required"));
    bool ok = false;
    const int station = a.value(QStringLiteral("station"), QStringLiteral("1")).toInt(&ok);
    if (!ok || station < z5::PortSettings::kFirstStation || station > z5::PortSettings::kLastStation)
        return usage(QStringLiteral("--station is 1..8"));
    const int block = a.value(QStringLiteral("block")).toInt(&ok);
    if (!ok || block < 1 || block > 100) return usage(QStringLiteral("--block is a block number 1..100"));

    const QString device = z5::PortSettings::resolveDevice(a.value(QStringLiteral("port")));
    z5::QtSerialPort port;
    z5::RecordingPrompts prompts;
    z5::Link link(port, prompts);
    link.settings.NET_Z5_number = station;
    if (!port.open(device)) {
        z5ctl::err(QStringLiteral("z5ctl read-block: cannot open %1: %2").arg(device, port.errorString()));
        return 1;
    }
    // The console's block read: index 10, code 0, count 0, the block's column.
    link.REQUEST_kind = z5::Link::SteppingRead;
    link.REQUEST_count = 0;
    link.REQUEST_index = 10;
    link.REQUEST_code = 0;
    link.REQUEST_block = static_cast<std::int16_t>(block - 1);
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
        z5ctl::err(QStringLiteral("z5ctl read-block: no valid reply from station %1 for U%2 (%3)")
                       .arg(station).arg(block).arg(why));
        return 1;
    }
    const QByteArray &r = exchange.reply();
    z5ctl::out(QStringLiteral("U%1 at station %2").arg(block).arg(station));
    z5ctl::out(QStringLiteral("row\tfirst\tsecond\tthird"));
    for (int k = 0; k < z5::BlockReply::kRows; ++k)
        z5ctl::out(QStringLiteral("%1\t%2\t%3\t%4")
                       .arg(k)
                       .arg(number(z5::BlockReply::first(r, k)), number(z5::BlockReply::second(r, k)),
                            number(z5::BlockReply::third(r, k))));
    return 0;
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("read-block"), kUsage, runReadBlock);

} // namespace
