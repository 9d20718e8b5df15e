#include "SimExampleProgram.h"
#include "SimMemory.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace z5sim {

std::vector<SimExampleProgram::Table> SimExampleProgram::tables() {
    // "table-NN.bin", and "table-12-UNN.bin" for each setpoint programmer.
    static const QRegularExpression name(QStringLiteral("^table-(\\d\\d)(?:-U(\\d\\d))?\\.bin$"));
    std::vector<Table> out;
    const QDir folder(QStringLiteral(":/z5sim/example"));
    for (const QString &file : folder.entryList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = name.match(file);
        QFile f(folder.filePath(file));
        if (!m.hasMatch() || !f.open(QIODevice::ReadOnly)) continue;
        const int column = m.captured(2).isEmpty() ? -1 : m.captured(2).toInt() - 1;
        out.push_back({m.captured(1).toInt(), column, f.readAll()});
    }
    return out;
}

void SimExampleProgram::loadInto(SimMemory &memory) {
    for (const Table &t : tables()) {
        const QByteArray content = t.table <= 1 ? t.data.mid(1) : t.data;
        memory.storeTable(t.table, content, t.column < 0 ? 0 : t.column);
    }
}

} // namespace z5sim
