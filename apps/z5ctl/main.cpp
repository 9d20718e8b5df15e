// z5ctl: the command-line face of the configurator core.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "model/ProcessSetup.h"
#include "model/UserSettings.h"
#include <QGuiApplication>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <memory>

int main(int argc, char **argv) {
    // A trend printout needs fonts (never a screen); the other verbs only the core.
    const bool prints = argc > 1 && std::strcmp(argv[1], "trend") == 0;
    if (prints && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        prints ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    z5::prepareProcess();
    // The configurator's settings: the device chosen for each COM number.
    QCoreApplication::setOrganizationName(z5::settingsOrganisation());
    QCoreApplication::setApplicationName(z5::settingsApplication());
    QStringList args = app->arguments().mid(1);
    auto &all = z5ctl::verbs();
    std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) { return a.name < b.name; });
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("help")) {
        z5ctl::out(QStringLiteral("usage: z5ctl VERB [options]"));
        for (const auto &v : all) z5ctl::out(QStringLiteral("  ") + v.usage);
        z5ctl::out(QString::fromLatin1(z5ctl::exitCodeTable()));
        return args.isEmpty() ? z5ctl::kUsageError : z5ctl::kDone;
    }
    if (args.first() == QLatin1String("--version")) {
        z5ctl::out(QStringLiteral("z5ctl " Z5_VERSION));
        return z5ctl::kDone;
    }
    const QString name = args.takeFirst();
    for (const auto &v : all) {
        if (v.name != name) continue;
        // A mistyped option must not pass unnoticed and leave its default in force.
        const QString unknown = z5ctl::unknownOption(args, v.usage);
        if (!unknown.isEmpty()) {
            z5ctl::err(QStringLiteral("z5ctl %1: unknown option %2").arg(name, unknown));
            z5ctl::err(QStringLiteral("usage: z5ctl ") + v.usage);
            return z5ctl::kUsageError;
        }
        return v.run(args);
    }
    z5ctl::err(QStringLiteral("z5ctl: unknown verb '%1' (try z5ctl --help)").arg(name));
    return z5ctl::kUsageError;
}
