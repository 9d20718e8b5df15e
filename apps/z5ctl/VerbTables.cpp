// z5ctl tables: imports a netlist and writes the data blocks of the controller
// tables exactly as they go on the wire, one file per table.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ProjectInput.h"
#include "download/ProjectDownloadTables.h"
#include "link/WireSizes.h"
#include "model/AtomicFileSave.h"
#include "model/BlockCatalogue.h"
#include "model/RecordingPrompts.h"
#include <QDir>
#include <QFileInfo>
#include <vector>

namespace {

// One table's data block and the file it goes to.
struct TableFile {
    QString name;
    QByteArray data;
};

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("tables"), why); }

// What keeps the tables out of DIR: a folder above it that is missing (only DIR
// itself is created, so a mistyped path does not grow a tree of folders), or a
// DIR that is no folder. Empty when DIR can take them.
QString outputFolderProblem(const QString &dir) {
    const QFileInfo info(dir);
    if (info.exists()) return info.isDir() ? QString() : QStringLiteral("%1 is not a folder").arg(dir);
    const QFileInfo parent(info.absolutePath());
    if (!parent.isDir()) return QStringLiteral("the folder %1 does not exist").arg(parent.filePath());
    return QString();
}

QString fileName(int table) { return QStringLiteral("table-%1.bin").arg(table, 2, 10, QLatin1Char('0')); }

// Every table the verb writes, in table order; the setpoint table once per setpoint
// programmer, named by its designator. Empty, with the message on standard error,
// when a parameter does not fit the wire form: then nothing is written at all.
std::vector<TableFile> tableFiles(const z5::Project &project, const z5::DownloadTables &tables) {
    std::vector<TableFile> files;
    z5::TableBuild check = tables.checkDownload();
    const int lastTable = z5::tableNumber(z5::Table::AlarmTexts);
    for (int t = z5::tableNumber(z5::Table::Blocks); t <= lastTable && check.ok(); ++t) files.push_back({fileName(t), tables.table(t).data});
    for (int c = 0; c < z5::Project::kColumns && check.ok(); ++c) {
        if (project.blockType(c) != z5::BlockType::S_P) continue;
        check = tables.checkSetpoints(c);
        const QString name = QStringLiteral("table-%1-U%2.bin")
                                 .arg(z5::tableNumber(z5::Table::Setpoints))
                                 .arg(c + 1, 2, 10, QLatin1Char('0'));
        files.push_back({name, tables.setpoints(c).data});
    }
    if (check.ok()) return files;
    z5ctl::err(check.problem);
    return {};
}

bool writeAll(const QString &dir, const std::vector<TableFile> &files) {
    if (!QFileInfo(dir).isDir() && !QDir().mkdir(dir)) {
        z5ctl::err(QStringLiteral("z5ctl tables: cannot create %1").arg(dir));
        return false;
    }
    // All tables or none: a table name taken by a device or a folder, or a disk that
    // fills up halfway, leaves every old table as it was.
    std::vector<z5::AtomicFileSave::Entry> entries;
    for (const TableFile &f : files) entries.push_back({QDir(dir).filePath(f.name), f.data});
    QString why, failed;
    if (!z5::AtomicFileSave::saveAll(entries, &why, &failed)) {
        z5ctl::err(QStringLiteral("z5ctl tables: cannot write %1: %2 No table was written.").arg(failed, why));
        return false;
    }
    return true;
}

int runTables(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("auto")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (!a.has(QStringLiteral("out"))) return usage(QStringLiteral("--out is required"));
    // Checked before the netlist is read.
    if (const QString problem = outputFolderProblem(a.value(QStringLiteral("out"))); !problem.isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl tables: %1").arg(problem));
        return z5ctl::kBadInput;
    }
    z5::RecordingPrompts prompts;
    prompts.onMessage = [](const QString &text, const QString &) { z5ctl::err(text); };
    z5ctl::ProjectInput in;
    if (const int code = in.read(a, prompts, usage)) return code;
    const z5::ProjectDownloadTables tables(in.imported.project, in.store, &in.screen);
    const std::vector<TableFile> files = tableFiles(in.imported.project, tables);
    if (files.empty()) return 1;
    return writeAll(a.value(QStringLiteral("out")), files) ? 0 : 1;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("tables"),
                                      {QStringLiteral("tables [--auto] NETLIST --out DIR [--params FILE.par [--decimal SEP]] [--screen FILE.scd]")},
                                      QStringLiteral("Writes DIR/table-00.bin .. table-11.bin and table-12-UNN.bin for each setpoint programmer,\n"
                                                     "as they go on the wire. DIR is created when the folder above it exists;\n"
                                                     "SEP (with --params): \".\" or \",\"."),
                                      QStringLiteral("tables examples/boiler.net --out boiler-tables"), runTables});

} // namespace
