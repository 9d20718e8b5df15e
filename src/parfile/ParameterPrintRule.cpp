#include "parfile/ParameterPrintRule.h"
#include <charconv>
#include <cmath>

namespace z5 {

QString ParameterPrintRule::number(float value, QChar decimalSeparator) {
    if (value == 0.0f) value = 0.0f;  // no minus sign for -0
    char buf[48];
    // to_chars is independent of the C locale, unlike printf.
    const auto res = std::to_chars(buf, buf + sizeof(buf), value, std::chars_format::general, 7);
    QString digits = QString::fromLatin1(buf, static_cast<int>(res.ptr - buf));
    digits.replace(QLatin1Char('e'), QLatin1Char('E'));
    digits.replace(QLatin1Char('.'), decimalSeparator);
    if (std::signbit(value)) return digits + QLatin1Char(' ');
    return QLatin1Char(' ') + digits + QLatin1Char(' ');
}

QString ParameterPrintRule::byte(std::uint8_t value) {
    return QLatin1Char(' ') + QString::number(value) + QLatin1Char(' ');
}

} // namespace z5
