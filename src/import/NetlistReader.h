#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

namespace z5 {

// The stored lines of a netlist: everything after the "(netlist " line.
struct NetlistText {
    QStringList lines;
    QVector<int> fileLines;  // the file line each stored line came from
};

// Reads netlist text into lines. Leading blanks and tabs are skipped, a comma splits a
// line in two, CR LF, LF and CR all end a line. Lines up to and including the first one
// that begins "(netlist " are skipped; every line after it is kept, the last one included.
class NetlistReader {
public:
    static constexpr int kMaxLines = 10000;

    // Empty on success; otherwise the fault text (and `out` is left empty).
    static QString read(const QString &text, NetlistText &out);
};

} // namespace z5
