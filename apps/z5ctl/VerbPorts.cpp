// z5ctl ports: the device each COM number stands for and where that comes from,
// then the serial devices present on the machine.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "link/PortMapping.h"
#include "link/PortSettings.h"
#include "link/SerialDevices.h"

namespace {


int runPorts(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return z5ctl::usageError(QStringLiteral("ports"), a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return z5ctl::usageError(QStringLiteral("ports"), extra);
    const std::vector<z5::SerialDeviceInfo> present = z5::SystemSerialDevices().list();
    for (int n = z5::PortSettings::kFirstPort; n <= z5::PortSettings::kLastPort; ++n) {
        const z5::PortMapping::Entry entry = z5::PortMapping::resolve(n);
        QString line = QStringLiteral("COM%1\t%2\t%3").arg(n).arg(entry.device, z5::PortMapping::sourceName(entry.source));
        // What the device is, when the machine says more than its path.
        const z5::SerialDeviceInfo *found = z5::SerialDevices::find(present, entry.device);
        if (found && found->summary() != found->device) line += QLatin1Char('\t') + found->summary();
        z5ctl::out(line);
    }
    z5ctl::out(QString());
    z5ctl::out(QStringLiteral("serial devices present:"));
    if (present.empty()) z5ctl::out(QStringLiteral("  none"));
    for (const z5::SerialDeviceInfo &d : present) {
        z5ctl::out(d.summary());
        if (!d.stableName.isEmpty()) z5ctl::out(QStringLiteral("\t") + d.stableName);
    }
    return 0;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("ports"),
                                      {QStringLiteral("ports")},
                                      QStringLiteral("COM1..COM16 with their devices and where each comes from (environment,\n"
                                                     "settings, default), then the serial devices present."),
                                      QStringLiteral("ports"), runPorts});

} // namespace
