#pragma once
#include <QStringView>

namespace z5 {

// The netlist reader recognises lines by fixed character columns and reads numbers
// the way the schematic tools' numeric fields are read. Columns are 1-based and every
// accessor clips to the text, so a short line never reads out of range.
namespace columns {

// `len` characters from column `col`; fewer (or none) when the line is shorter.
QStringView mid(QStringView text, int col, int len);
QStringView left(QStringView text, int len);
QStringView right(QStringView text, int len);
// True when columns 1..prefix.size() equal prefix exactly.
bool startsWith(QStringView text, QStringView prefix);

// The leading number of a text: blanks and tabs are skipped, an optional sign, digits,
// a fraction and an exponent are read, and reading stops at the first character that
// cannot continue the number. No number gives 0.
double value(QStringView text);
// value() rounded half to even, as a numeric field stored into an integer cell is;
// clamped to +-1e9 so absurd texts stay representable (and fail every range check).
int intValue(QStringView text);

} // namespace columns
} // namespace z5
