// z5ctl tables: imports a netlist and writes the data blocks of the controller
// tables exactly as they go on the wire, one file per table.
#include "CommandLine.h"
#include "download/ProjectTables.h"
#include "import/NetlistImport.h"
#include <QDir>
#include <QFile>
#include <vector>

namespace {

const QString kUsage = QStringLiteral("tables [--auto] NETLIST --out DIR");

// One table's data block and the file it goes to.
struct TableFile {
    QString name;
    QByteArray data;
};

QString fileName(int table) { return QStringLiteral("table-%1.bin").arg(table, 2, 10, QLatin1Char('0')); }

// Every table the verb writes, in table order.
std::vector<TableFile> tableFiles(const z5::Project &project) {
    std::vector<TableFile> files;
    for (int t = z5::ProjectTables::kFirstTable; t <= z5::ProjectTables::kLastTable; ++t)
        files.push_back({fileName(t), z5::ProjectTables::table(t, project)});
    return files;
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
    return writeAll(a.value(QStringLiteral("out")), tableFiles(r.project)) ? 0 : 1;
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("tables"), kUsage, runTables);

} // namespace
