#pragma once
#include <QByteArray>
#include <QChar>

namespace z5 {

class ParameterStore;

// The text of a parameter file: the header and the 4148 values of the fixed
// layout, one per line, Windows-1251, lines ended by CR LF.
class ParameterFileWriter {
public:
    static QByteArray write(const ParameterStore &store, QChar decimalSeparator);
};

} // namespace z5
