// z5ctl diff: the parameters a download of the netlist (and parameter file)
// would change against what the station record says was last written of that
// netlist to the station, field by field as the console's change list shows
// them. Exit status 1 when anything differs, like diff.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "RecordInput.h"
#include "app/ParameterFileCommands.h"
#include "ProjectInput.h"
#include "link/PortSettings.h"
#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include "record/RecordDifferences.h"
#include "record/WrittenParameters.h"
#include <QFileInfo>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("diff"), why); }

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

    const z5::ImportResult imported = z5ctl::importNamedNetlist(a);
    if (!imported.ok) return z5ctl::kBadInput;
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
    // What the console compares with: the last finished download and the setpoint writes after it.
    const z5::WrittenParameters written =
        z5::WrittenParameters::fromHistory(*record, station, imported.netlistHash, imported.project);
    if (!record->lastError().isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl diff: %1").arg(record->lastError()));
        return z5ctl::kBadInput;
    }
    if (written.isEmpty()) {
        z5ctl::out(QStringLiteral("%1 was never written to station %2 (no finished write of it in the record)")
                       .arg(QFileInfo(a.positionals().first()).fileName())
                       .arg(station));
        return 1;
    }
    const std::vector<z5::FieldDifference> differences = z5::recordDifferences(imported.project, store, written);
    for (const z5::FieldDifference &d : differences) z5ctl::out(z5::differenceLine(d));
    return differences.empty() ? z5ctl::kDone : 1;
}

const z5ctl::VerbRegistrar registrar(
    {QStringLiteral("diff"),
     {QStringLiteral("diff [--auto] NETLIST [PARFILE] --station N [--decimal SEP] [--record FILE]")},
     QStringLiteral("Compares every parameter of NETLIST with those of PARFILE (none: an empty store), as they\n"
                    "would go on the wire to station N, with the last finished write of that netlist there (and\n"
                    "the setpoint writes after it), one line per field that differs. Exit status 0: none does;\n"
                    "1: some do, or nothing of the netlist was written there, or an input cannot be used.\n"
                    "SEP: the decimal separator of PARFILE. FILE: another record than the usual one."),
     QStringLiteral("diff examples/boiler.net examples/boiler.par --station 1"), runDiff});

} // namespace
