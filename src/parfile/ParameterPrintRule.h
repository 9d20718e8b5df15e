#pragma once
#include <QChar>
#include <QString>
#include <cstdint>

namespace z5 {

// How the parameter file writes numbers: a blank before a value that is not
// negative (the minus sign before a negative one), at most seven significant
// digits with the user's decimal separator and no trailing zeros, then one blank.
// Values between -1 and 1 keep the zero before the separator and large or tiny
// magnitudes take an exponent ("1.5E+12"), so that both the locale read rule and
// the leading-number read rule give back the same single-precision value.
class ParameterPrintRule {
public:
    static QString number(float value, QChar decimalSeparator);
    static QString byte(std::uint8_t value);
};

} // namespace z5
