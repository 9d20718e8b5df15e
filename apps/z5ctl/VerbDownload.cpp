// z5ctl download: imports a netlist and writes the whole configuration into the
// controller on the download's own schedule (tables 0 to 10, the closing, then
// the alarm texts), showing each step on standard error.
#include "CommandLine.h"
#include "WriteSession.h"
#include "download/DownloadChain.h"
#include "download/ProjectDownloadTables.h"
#include "import/NetlistImport.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileCommands.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include <QLocale>

namespace {

const QString kUsage = QStringLiteral(
    "download --port DEV [--station N] [--auto] NETLIST [--params FILE.par] [--screen FILE.scd] [--decimal SEP]");

int usage(const QString &why) {
    z5ctl::err(QStringLiteral("z5ctl download: %1").arg(why));
    z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
    return 1;
}

int runDownload(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("auto")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (a.positionals().size() != 1) return usage(QStringLiteral("one NETLIST is needed"));
    if (!a.has(QStringLiteral("port"))) return usage(QStringLiteral("--port is required"));
    const QString decimal = a.value(QStringLiteral("decimal"), QLocale::system().decimalPoint());
    if (decimal.size() != 1) return usage(QStringLiteral("--decimal takes one character"));

    z5ctl::WriteSession session(QStringLiteral("download"), a.value(QStringLiteral("port")));
    if (a.has(QStringLiteral("station")) && !session.setStation(a.value(QStringLiteral("station"))))
        return usage(QStringLiteral("--station is 1..8"));

    z5::NetlistImport import;
    const z5::ImportResult imported = import.importFile(
        a.positionals().first(), a.has(QStringLiteral("auto")) ? z5::Numbering::Auto : z5::Numbering::Manual);
    if (!imported.ok) {
        z5ctl::err(imported.message);
        return 1;
    }
    z5::ParameterStore store;
    if (a.has(QStringLiteral("params"))) {
        z5::ParameterFileCommands files(store, session.prompts, decimal.at(0));
        if (!files.loadFrom(a.value(QStringLiteral("params")))) return 1;
    }
    z5::ScreenModel screen;
    if (a.has(QStringLiteral("screen"))) {
        const z5::ScreenFileError e = z5::ScreenFile::load(a.value(QStringLiteral("screen")), screen);
        if (e.isError()) {
            z5ctl::err(QStringLiteral("%1: %2").arg(a.value(QStringLiteral("screen")), e.message));
            return 1;
        }
    }

    const z5::ProjectDownloadTables tables(imported.project, store, &screen);
    // Checked before the port is touched: a value that does not fit stops the
    // download before anything of it goes out.
    const z5::TableBuild check = tables.checkDownload();
    if (!check.ok()) {
        z5ctl::err(check.problem);
        return 1;
    }
    if (!session.openPort()) return 2;

    z5::DownloadChain chain(session.clock, session.link, session.prompts, tables);
    session.follow(chain.progress());
    if (!chain.mnu_SCHEMA_Z5()) return 1;
    return session.run();
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("download"), kUsage, runDownload);

} // namespace
