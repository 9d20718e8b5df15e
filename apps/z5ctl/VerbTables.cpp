// z5ctl tables: imports a netlist and writes the data blocks of the controller
// tables exactly as they go on the wire, one file per table.
#include "CommandLine.h"
#include "download/NameTables.h"
#include "download/ParameterTables.h"
#include "download/ProjectTables.h"
#include "import/NetlistImport.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include "parfile/ParameterFileCommands.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include <QDir>
#include <QFile>
#include <QLocale>
#include <vector>

namespace {

const QString kUsage = QStringLiteral("tables [--auto] NETLIST --out DIR [--params FILE.par [--decimal SEP]] [--screen FILE.scd]");

// One table's data block and the file it goes to.
struct TableFile {
    QString name;
    QByteArray data;
};

QString fileName(int table) { return QStringLiteral("table-%1.bin").arg(table, 2, 10, QLatin1Char('0')); }

// Every table the verb writes, in table order; the setpoint table once per setpoint
// programmer, named by its designator. Empty, with the message on standard error,
// when a parameter does not fit the wire form: then nothing is written at all.
std::vector<TableFile> tableFiles(const z5::Project &project, const z5::ParameterStore &store,
                                  const QStringList &alarmTexts) {
    using z5::NameTables;
    using z5::ParameterTables;
    std::vector<TableFile> files;
    for (int t = z5::ProjectTables::kFirstTable; t <= z5::ProjectTables::kLastTable; ++t)
        files.push_back({fileName(t), z5::ProjectTables::table(t, project)});
    files.push_back({fileName(5), NameTables::setpointNames(store)});
    files.push_back({fileName(6), NameTables::panelTexts(store)});
    files.push_back({fileName(7), NameTables::trendNames(store)});
    files.push_back({fileName(8), NameTables::journalNames(store)});
    files.push_back({fileName(9), NameTables::journalBytes(store)});
    const z5::ParameterTableBuild parameters = ParameterTables::parameters(store);
    std::vector<z5::ParameterFault> faults = parameters.faults;
    files.push_back({fileName(10), parameters.data});
    files.push_back({fileName(11), NameTables::alarmTexts(alarmTexts)});
    for (int c = 0; c < z5::Project::kColumns && faults.empty(); ++c) {
        if (project.blockType(c) != z5::S_P) continue;
        const z5::ParameterTableBuild setpoints = ParameterTables::setpoints(store, project.instance(c) - 1);
        faults = setpoints.faults;
        files.push_back({QStringLiteral("table-12-U%1.bin").arg(c + 1, 2, 10, QLatin1Char('0')), setpoints.data});
    }
    if (faults.empty()) return files;
    z5ctl::err(ParameterTables::faultMessage(faults));
    return {};
}

bool writeAll(const QString &dir, const std::vector<TableFile> &files) {
    if (!QDir().mkpath(dir)) {
        z5ctl::err(QStringLiteral("z5ctl tables: cannot create %1").arg(dir));
        return false;
    }
    for (const TableFile &f : files) {
        QFile file(QDir(dir).filePath(f.name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(f.data) != f.data.size()) {
            z5ctl::err(QStringLiteral("z5ctl tables: cannot write %1").arg(file.fileName()));
            return false;
        }
    }
    return true;
}

int runTables(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("auto")});
    if (!a.error().isEmpty() || a.positionals().size() != 1 || !a.has(QStringLiteral("out"))) {
        z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
        return 2;
    }
    z5::NetlistImport import;
    const z5::ImportResult r = import.importFile(
        a.positionals().first(), a.has(QStringLiteral("auto")) ? z5::Numbering::Auto : z5::Numbering::Manual);
    if (!r.ok) {
        z5ctl::err(r.message);
        return 1;
    }
    z5::ParameterStore store;
    if (a.has(QStringLiteral("params"))) {
        // Parameter files follow the user's decimal separator unless told otherwise.
        const QString decimal = a.value(QStringLiteral("decimal"), QLocale::system().decimalPoint());
        if (decimal.size() != 1) {
            z5ctl::err(QStringLiteral("--decimal takes one character"));
            return 2;
        }
        z5::RecordingPrompts prompts;
        prompts.onMessage = [](const QString &text, const QString &) { z5ctl::err(text); };
        if (!z5::ParameterFileCommands(store, prompts, decimal.at(0)).loadFrom(a.value(QStringLiteral("params"))))
            return 1;
    }
    // Table 11 carries the alarm texts of a screen file; without one they are blank.
    z5::ScreenModel screen;
    if (a.has(QStringLiteral("screen"))) {
        const z5::ScreenFileError e = z5::ScreenFile::load(a.value(QStringLiteral("screen")), screen);
        if (e.isError()) {
            z5ctl::err(QStringLiteral("%1: %2").arg(a.value(QStringLiteral("screen")), e.message));
            return 1;
        }
    }
    const std::vector<TableFile> files = tableFiles(r.project, store, screen.signalTexts());
    if (files.empty()) return 1;
    return writeAll(a.value(QStringLiteral("out")), files) ? 0 : 1;
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("tables"), kUsage, runTables);

} // namespace
