// z5ctl: the command-line face of the configurator core.
#include "CommandLine.h"
#include "model/UserSettings.h"
#include <QCoreApplication>
#include <algorithm>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // The configurator's settings: the device chosen for each COM number.
    QCoreApplication::setOrganizationName(z5::settingsOrganisation());
    QCoreApplication::setApplicationName(z5::settingsApplication());
    QStringList args = app.arguments().mid(1);
    auto &all = z5ctl::verbs();
    std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) { return a.name < b.name; });
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("help")) {
        z5ctl::out(QStringLiteral("usage: z5ctl VERB [options]"));
        for (const auto &v : all) z5ctl::out(QStringLiteral("  ") + v.usage);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const auto &v : all)
        if (v.name == name) return v.run(args);
    z5ctl::err(QStringLiteral("z5ctl: unknown verb '%1' (try z5ctl --help)").arg(name));
    return 2;
}
