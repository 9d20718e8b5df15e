// z5ctl: the command-line face of the configurator core.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "StopSignals.h"
#include "model/ProcessSetup.h"
#include "model/UserSettings.h"
#include "record/RecordPlace.h"
#include <QDir>
#include <QGuiApplication>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <memory>

namespace {

// What the libraries say on their own (a missing runtime folder, font
// fallbacks) is not the user's business; every message of z5ctl goes through
// err(). Only what would end the program is let through.
void quietLibraries(QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) z5ctl::err(QStringLiteral("z5ctl: ") + text);
}

bool asksForHelp(const QString &a) { return a == QLatin1String("--help") || a == QLatin1String("-h"); }

int listVerbs() {
    z5ctl::out(QStringLiteral("usage: z5ctl VERB [options]   (z5ctl help VERB shows one verb with an example)"));
    for (const auto &v : z5ctl::verbs())
        for (const QString &form : v.forms) z5ctl::out(QStringLiteral("  ") + form);
    // Where the writes are entered unless --record names another file.
    z5ctl::out(QStringLiteral("station record: ") + QDir::toNativeSeparators(z5::stationRecordPath()));
    z5ctl::out(QString::fromLatin1(z5ctl::exitCodeTable()));
    return z5ctl::kDone;
}

int showVerb(const QString &name) {
    const z5ctl::Verb *v = z5ctl::findVerb(name);
    if (!v) {
        z5ctl::err(QStringLiteral("z5ctl help: no verb '%1' (z5ctl help lists them)").arg(name));
        return z5ctl::kUsageError;
    }
    for (const QString &line : z5ctl::verbHelp(*v)) z5ctl::out(line);
    return z5ctl::kDone;
}

} // namespace

int main(int argc, char **argv) {
    qInstallMessageHandler(quietLibraries);
    // A trend printout needs fonts (never a screen); the other verbs only the core.
    const bool prints = argc > 1 && std::strcmp(argv[1], "trend") == 0;
    if (prints && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        prints ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    z5::prepareProcess();
    z5ctl::StopSignals::install();
    // The configurator's settings: the device chosen for each COM number.
    QCoreApplication::setOrganizationName(z5::settingsOrganisation());
    QCoreApplication::setApplicationName(z5::settingsApplication());
    QStringList args = app->arguments().mid(1);
    auto &all = z5ctl::verbs();
    std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) { return a.name < b.name; });
    if (args.isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl: name a verb (z5ctl help lists them)"));
        return z5ctl::kUsageError;
    }
    if (asksForHelp(args.first()) || args.first() == QLatin1String("help")) {
        if (args.size() == 1) return listVerbs();
        if (args.size() == 2) return showVerb(args.at(1));
        z5ctl::err(QStringLiteral("z5ctl help: name one verb"));
        return z5ctl::kUsageError;
    }
    if (args.first() == QLatin1String("--version")) {
        if (args.size() > 1) {
            z5ctl::err(QStringLiteral("z5ctl: --version takes nothing more: unexpected '%1'").arg(args.at(1)));
            return z5ctl::kUsageError;
        }
        z5ctl::out(QStringLiteral("z5ctl " Z5_VERSION));
        return z5ctl::kDone;
    }
    const QString name = args.takeFirst();
    const z5ctl::Verb *verb = z5ctl::findVerb(name);
    if (!verb) {
        z5ctl::err(QStringLiteral("z5ctl: unknown verb '%1' (z5ctl help lists them)").arg(name));
        return z5ctl::kUsageError;
    }
    if (std::any_of(args.begin(), args.end(), asksForHelp)) return showVerb(name);
    // A mistyped option must not pass unnoticed and leave its default in force.
    const QString unknown = z5ctl::unknownOption(args, verb->forms);
    if (!unknown.isEmpty()) return z5ctl::usageError(name, QStringLiteral("unknown option %1").arg(unknown));
    // Settings that cannot be read are said once; the verb runs with the defaults.
    if (const QString unread = z5::userSettingsProblem(); !unread.isEmpty()) z5ctl::err(QStringLiteral("z5ctl: ") + unread);
    const int status = verb->run(args);
    // A watch is ended so as a matter of course; any other verb was cut short.
    if (z5ctl::StopSignals::received() && name != QLatin1String("watch")) {
        if (!z5ctl::StopSignals::reported())
            z5ctl::err(QStringLiteral("z5ctl %1: stopped by signal %2").arg(name).arg(z5ctl::StopSignals::received()));
        return z5ctl::StopSignals::exitStatus();
    }
    // A reader that went away (`| head`) ends the verb as the broken pipe would,
    // but only after the trace was written.
    if (z5ctl::outputFailed()) return z5ctl::StopSignals::outputLostStatus();
    return status;
}
