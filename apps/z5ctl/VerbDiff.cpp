// z5ctl diff: what a download of the netlist (and parameter file) would change
// against the last finished write of that netlist to the station, as the
// station record keeps it. Exit status 1 when anything differs, like diff.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "RecordInput.h"
#include "app/ParameterFileCommands.h"
#include "download/ProjectDownloadTables.h"
#include "import/NetlistImport.h"
#include "link/PortSettings.h"
#include "link/WireSizes.h"
#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include <QFileInfo>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("diff"), why); }

// The tables a download builds from the netlist and the parameters alone; the
// alarm texts come from a screen file and the setpoints go block by block.
constexpr int kLastComparedTable = z5::tableNumber(z5::Table::Parameters);

// Each table whose bytes as they would go on the wire now differ from those
// last written, one line each. The field by field comparison of the console's
// change list is to take this place once it is there.
QStringList tableDifferences(const z5::DownloadTables &now, const std::map<int, QByteArray> &written, QString *problem) {
    QStringList lines;
    for (int t = 0; t <= kLastComparedTable; ++t) {
        const z5::TableBuild built = now.table(t);
        if (!built.ok()) {
            *problem = built.problem;
            return {};
        }
        const auto was = written.find(t);
        if (was == written.end())
            lines << QStringLiteral("table %1: not in the last write").arg(t);
        else if (was->second != built.data)
            lines << QStringLiteral("table %1 differs").arg(t);
    }
    return lines;
}

int runDiff(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("auto")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (a.positionals().isEmpty()) return usage(QStringLiteral("a NETLIST is required"));
    if (const QString extra = a.surplus(2); !extra.isEmpty()) return usage(extra);
    if (!a.has(QStringLiteral("station"))) return usage(QStringLiteral("--station is required"));
    bool ok = false;
    const int station = a.value(QStringLiteral("station")).toInt(&ok);
    if (!ok || station < z5::PortSettings::kFirstStation || station > z5::PortSettings::kLastStation)
        return usage(QStringLiteral("--station is 1..8"));
    const bool withParameters = a.positionals().size() > 1;
    if (const QString stray = a.notApplying({QStringLiteral("decimal")}, QStringLiteral("without a PARFILE"));
        !stray.isEmpty() && !withParameters)
        return usage(stray);
    const std::optional<QChar> decimal = z5ctl::decimalSeparator(a);
    if (!decimal) return usage(z5ctl::decimalSeparatorProblem());

    z5::NetlistImport import;
    const z5::ImportResult imported = import.importFile(
        a.positionals().first(), a.has(QStringLiteral("auto")) ? z5::Numbering::Auto : z5::Numbering::Manual);
    if (!imported.ok) {
        z5ctl::err(imported.message);
        return z5ctl::kBadInput;
    }
    z5::ParameterStore store;
    if (withParameters) {
        z5::RecordingPrompts prompts;
        prompts.onMessage = [](const QString &text, const QString &caption) {
            z5ctl::err(caption.isEmpty() ? QStringLiteral("z5ctl diff: %1").arg(text)
                                         : QStringLiteral("z5ctl diff: %1: %2").arg(caption, text));
        };
        if (!z5::ParameterFileCommands(store, prompts, *decimal).loadFrom(a.positionals().at(1))) return z5ctl::kBadInput;
    }
    const auto record = z5ctl::openRecordToRead(QStringLiteral("diff"), a);
    if (!record) return z5ctl::kBadInput;
    const std::map<int, QByteArray> written = record->lastWrittenData(station, imported.netlistHash);
    if (!record->lastError().isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl diff: %1").arg(record->lastError()));
        return z5ctl::kBadInput;
    }
    if (written.empty()) {
        z5ctl::out(QStringLiteral("%1 was never written to station %2 in full (no finished write in the record)")
                       .arg(QFileInfo(a.positionals().first()).fileName())
                       .arg(station));
        return 1;
    }
    const z5::ProjectDownloadTables tables(imported.project, store);
    QString problem;
    const QStringList lines = tableDifferences(tables, written, &problem);
    if (!problem.isEmpty()) {
        z5ctl::err(problem);
        return z5ctl::kBadInput;
    }
    for (const QString &line : lines) z5ctl::out(line);
    return lines.isEmpty() ? z5ctl::kDone : 1;
}

const z5ctl::VerbRegistrar registrar(
    {QStringLiteral("diff"),
     {QStringLiteral("diff [--auto] NETLIST [PARFILE] --station N [--decimal SEP] [--record FILE]")},
     QStringLiteral("Compares what a download of NETLIST with the parameters of PARFILE (none: an empty store)\n"
                    "would send to station N with the last finished write of that netlist there, table by table\n"
                    "(0 to 10), as they go on the wire. Exit status 0: nothing differs; 1: something does (each\n"
                    "on a line), or nothing of the netlist was written there, or an input cannot be used.\n"
                    "SEP: the decimal separator of PARFILE. FILE: another record than the usual one."),
     QStringLiteral("diff examples/boiler.net boiler.par --station 1"), runDiff});

} // namespace
