// z5ctl write-setpoints: writes the eight setpoints of one setpoint programmer
// (`Table::Setpoints`) from a parameter file, for a block of the imported netlist.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ProjectInput.h"
#include "TraceFile.h"
#include "WriteSession.h"
#include "download/DownloadChain.h"
#include "download/ProjectDownloadTables.h"
#include "download/SetpointWrite.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("write-setpoints"), why); }

int runWriteSetpoints(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("auto")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString problem = z5ctl::portProblem(a); !problem.isEmpty()) return usage(problem);
    for (const char *required : {"params", "block"})
        if (!a.has(QLatin1String(required))) return usage(QStringLiteral("--%1 is required").arg(QLatin1String(required)));
    const int block = z5ctl::blockColumn(a.value(QStringLiteral("block")));
    if (block < 0) return usage(z5ctl::blockRangeProblem());
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);

    z5ctl::WriteSession session(QStringLiteral("write-setpoints"), a.value(QStringLiteral("port")));
    if (a.has(QStringLiteral("station")) && !session.setStation(a.value(QStringLiteral("station"))))
        return usage(QStringLiteral("--station is 1..8"));

    z5ctl::ProjectInput in;
    if (const int code = in.read(a, session.prompts, usage)) return code;

    z5::Session &app = session.app;
    app.project = in.imported.project;
    app.netlistName = in.imported.netlistName;
    app.netlistHash = in.imported.netlistHash;
    app.store = in.store;
    const z5::TableBuild check = app.tables.checkSetpoints(block);
    if (!check.ok()) {
        z5ctl::err(check.problem);
        return 1;
    }
    session.openRecord(a);
    return trace.run(QStringLiteral("write-setpoints"), app.line.traffic(), [&] {
        return session.write([&] { return app.setpointWrite.writeSetpoints(block); });
    });
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("write-setpoints"),
                                      {QStringLiteral("write-setpoints --port DEV [--station N] [--auto] NETLIST --params FILE.par --block UNN [--decimal SEP] [--trace FILE] [--record FILE]")},
                                      QStringLiteral("Writes the eight setpoints of the setpoint programmer UNN (U1..U99) from the parameter file.\nThe write is entered in the station record (--record: another file)."),
                                      QStringLiteral("write-setpoints --port COM4 examples/boiler.net --params examples/boiler.par --block U14"), runWriteSetpoints});

} // namespace
