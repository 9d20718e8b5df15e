#pragma once
#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

namespace z5 {

// The conversions that read a line of the parameter file back. Each gives an empty
// optional when the line is rejected.
class ParameterReadRules {
public:
    // L: the line without leading and trailing blanks must be a number written with
    // the given decimal separator (optional sign, digits, optional exponent); it is
    // rounded to the nearest single-precision value. Empty lines, other text and
    // values beyond the single-precision range are rejected.
    static std::optional<float> localeNumber(const QString &line, QChar decimalSeparator);
    // V: blanks anywhere are ignored; an optional sign, digits with a point as the
    // separator and an optional exponent are taken as far as they fit. A line with
    // no leading number gives 0, so "0,75" gives 0. The number is read as a double,
    // then narrowed; only a value beyond the single-precision range is rejected.
    static std::optional<float> leadingNumber(const QString &line);
    // V as the sections D_O to S_P read it: blanks anywhere are ignored, as the
    // leading-number rule ignores them, and the rest must be one whole number
    // written with a point, with a comma or with the user's separator. So a file
    // written on a desktop with a decimal comma keeps its fractions, and a file
    // with points reads the same as by the leading-number rule. Anything else,
    // an empty line too, is rejected. Read as a double, then narrowed.
    static std::optional<float> pointOrCommaNumber(const QString &line, QChar decimalSeparator);
    // B: like L, then rounded to the nearest integer (halves to even); 0..255 only.
    static std::optional<std::uint8_t> byte(const QString &line, QChar decimalSeparator);
};

} // namespace z5
