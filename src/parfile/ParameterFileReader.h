#pragma once
#include <QChar>
#include <QString>

class QIODevice;

namespace z5 {

class ParameterStore;

// Outcome of reading a parameter file. line names the file line at fault (0 when
// the fault is not one line's).
struct ParameterFileLoad {
    bool ok = false;
    int line = 0;
    QString message;
};

// Reads a parameter file from a device. The whole file is read and checked first;
// the store changes only when every line passed its read rule, so a short or
// damaged file changes nothing. Line 1 is never examined; lines after the last
// value are ignored. A line ends at LF, with an optional CR before it. A line
// longer than kMaxLineBytes refuses the file before it is read whole.
class ParameterFileReader {
public:
    // Far above the longest text a name table holds.
    static constexpr int kMaxLineBytes = 4096;
    static ParameterFileLoad read(QIODevice &in, QChar decimalSeparator, ParameterStore &store);
};

} // namespace z5
