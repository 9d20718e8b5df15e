// z5ctl download: imports a netlist and writes the whole configuration into the
// controller on the download's own schedule (tables 0 to 10, the closing, then
// the alarm texts), showing each step on standard error.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ProjectInput.h"
#include "TraceFile.h"
#include "WriteSession.h"
#include "download/DownloadChain.h"
#include "download/ProjectDownloadTables.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("download"), why); }

int runDownload(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("auto")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString problem = z5ctl::portProblem(a); !problem.isEmpty()) return usage(problem);
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);

    z5ctl::WriteSession session(QStringLiteral("download"), a.value(QStringLiteral("port")));
    if (a.has(QStringLiteral("station")) && !session.setStation(a.value(QStringLiteral("station"))))
        return usage(QStringLiteral("--station is 1..8"));

    z5ctl::ProjectInput in;
    if (const int code = in.read(a, session.prompts, usage)) return code;

    z5::Session &app = session.app;
    app.project = in.imported.project;
    app.netlistName = in.imported.netlistName;
    app.netlistHash = in.imported.netlistHash;
    app.store = in.store;
    app.screen = in.screen;
    // Checked before the port is touched: a value that does not fit stops the
    // download before anything of it goes out.
    const z5::TableBuild check = app.tables.checkDownload();
    if (!check.ok()) {
        z5ctl::err(check.problem);
        return 1;
    }
    session.openRecord(a);
    return trace.run(QStringLiteral("download"), app.line.traffic(),
                     [&] { return session.write([&] { return app.chain.startDownload(); }); });
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("download"),
                                      {QStringLiteral("download --port DEV [--station N] [--auto] NETLIST [--params FILE.par] [--screen FILE.scd] [--decimal SEP] [--trace FILE] [--record FILE]")},
                                      QStringLiteral("Writes the whole configuration: tables 0 to 10, the closing, then the alarm texts of --screen.\n--auto numbers the blocks itself; SEP: the decimal separator of --params, \".\" or \",\".\nEach step goes to standard error. The write is entered in the station record (--record: another file)."),
                                      QStringLiteral("download --port COM4 examples/boiler.net --params examples/boiler.par"), runDownload});

} // namespace
