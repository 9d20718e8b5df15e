#pragma once
#include "import/ImportResult.h"
#include "import/Numbering.h"
#include <QStringList>
#include <QVector>

class QIODevice;
class QTextStream;

namespace z5 {

// The netlist import: reads a P-CAD ASCII netlist, builds the block table, checks
// instances and priorities, folds inverters into inversion bits and fills the link
// tables. It keeps the lines it read, so that an import whose file dialog was
// cancelled rebuilds the same project from them.
class NetlistImport {
public:
    // A netlist of 10000 lines is well under 1 MiB; anything over this is not one.
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    static QString tooLargeMessage();

    ImportResult importText(const QString &text, Numbering mode);
    ImportResult importStream(QTextStream &stream, Numbering mode);
    // Raw netlist bytes, in Windows-1251.
    ImportResult importDevice(QIODevice &device, Numbering mode);
    ImportResult importFile(const QString &path, Numbering mode);
    // No file this time: the lines of the last file read (none at first: an empty project).
    ImportResult importAgain(Numbering mode) const;

    // The lines as read, and their count plus 1.
    const QStringList &lines() const { return netlistLines_; }
    int lineCount() const { return lineCount_; }

private:
    ImportResult fail(const QString &message);
    ImportResult run(Numbering mode) const;
    ImportResult importBytes(const QByteArray &bytes, Numbering mode, const QString &name);

    QStringList netlistLines_;
    QVector<int> fileLines_;
    int lineCount_ = 1;
    // The file the lines came from, for the station record.
    QString sourceName_;
    QByteArray sourceHash_;
};

} // namespace z5
