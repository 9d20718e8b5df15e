// Command lines are typed by anyone: the options of a verb, the decimal separator
// and the port name are read without reading outside what was given.
#include "CommandLine.h"
#include "link/PortSettings.h"
#include <QStringList>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Arguments are separated by NUL bytes, as the kernel hands them over.
    QStringList args;
    for (const QByteArray &part : QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(size)).split('\0'))
        args << QString::fromLocal8Bit(part);
    const z5ctl::Arguments a(args, {QStringLiteral("auto"), QStringLiteral("new")});
    if (a.positionals().size() > args.size()) std::abort();
    for (const QString &p : a.positionals())
        if (p.startsWith(QLatin1String("--"))) std::abort();

    const std::optional<QChar> decimal = z5ctl::decimalSeparator(a);
    if (decimal && *decimal != QLatin1Char('.') && *decimal != QLatin1Char(',')) std::abort();
    if (!decimal && !a.has(QStringLiteral("decimal"))) std::abort();

    for (const QString &name : {QStringLiteral("port"), QStringLiteral("station"), QStringLiteral("block")}) {
        const QString value = a.value(name);
        const QString device = z5::PortSettings::resolveDevice(value);
        if (!value.isEmpty() && device.isEmpty()) std::abort();
        bool ok = false;
        const int n = value.toInt(&ok);
        (void)z5::PortSettings::deviceName(ok ? n : 0);
    }
    return 0;
}
