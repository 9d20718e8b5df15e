#include "parfile/ParameterReadRules.h"
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace z5 {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Reads a plain ASCII number ("-12.5E+3", no leading '+') as the nearest T. Empty
// on overflow; values too small for T give 0.
template <typename T>
std::optional<T> parseAs(const std::string &s) {
    const char *begin = s.data();
    const char *end = begin + s.size();
    T f = 0;
    const auto r = std::from_chars(begin, end, f, std::chars_format::general);
    if (r.ptr != end) return std::nullopt;
    if (r.ec == std::errc()) return f;
    if (r.ec != std::errc::result_out_of_range) return std::nullopt;
    // Out of range: overflow is an error, underflow is a (signed) zero.
    const auto e = s.find_first_of("eE");
    const bool negativeExponent = e != std::string::npos && e + 1 < s.size() && s[e + 1] == '-';
    if (!negativeExponent) return std::nullopt;
    return s[0] == '-' ? -T(0) : T(0);
}

// Rounds once, to the nearest single.
std::optional<float> narrow(const std::string &s) { return parseAs<float>(s); }

// Reads the double first and narrows that: rounding twice can end on the other
// neighbour than rounding once. A double that rounds beyond the largest single
// overflows.
std::optional<float> narrowFromDouble(const std::string &s) {
    const auto d = parseAs<double>(s);
    if (!d) return std::nullopt;
    constexpr double kHalfwayToInfinity = static_cast<double>(FLT_MAX) + 0x1p103;  // a tie goes to infinity
    if (std::fabs(*d) >= kHalfwayToInfinity) return std::nullopt;
    if (std::fabs(*d) > static_cast<double>(FLT_MAX)) return *d > 0 ? FLT_MAX : -FLT_MAX;
    return static_cast<float>(*d);
}

// Reads [sign] digits [sep digits] [E [sign] digits] from text at pos into out (ASCII,
// '.' separator). Returns whether a mantissa digit was seen; pos stops at the first
// character that does not fit.
bool scanNumber(const QString &text, int *pos, QChar sep, std::string *out) {
    int i = *pos;
    const int n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-')) out->push_back('-');
        ++i;
    }
    bool digits = false;
    while (i < n && isDigit(text[i])) out->push_back(text[i++].toLatin1()), digits = true;
    if (i < n && text[i] == sep) {
        ++i;
        out->push_back('.');
        while (i < n && isDigit(text[i])) out->push_back(text[i++].toLatin1()), digits = true;
    }
    if (!digits) {
        *pos = i;
        return false;
    }
    // An exponent counts only when at least one digit follows it.
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e') || text[i] == QLatin1Char('D') ||
                  text[i] == QLatin1Char('d'))) {
        int j = i + 1;
        std::string exp = "E";
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) exp.push_back(text[j++].toLatin1());
        const int digitsStart = j;
        while (j < n && isDigit(text[j])) exp.push_back(text[j++].toLatin1());
        if (j > digitsStart) {
            *out += exp;
            i = j;
        }
    }
    *pos = i;
    return true;
}

} // namespace

std::optional<float> ParameterReadRules::localeNumber(const QString &line, QChar decimalSeparator) {
    int begin = 0;
    int end = line.size();
    while (begin < end && isBlank(line[begin])) ++begin;
    while (end > begin && isBlank(line[end - 1])) --end;
    const QString text = line.mid(begin, end - begin);
    std::string ascii;
    int pos = 0;
    if (!scanNumber(text, &pos, decimalSeparator, &ascii) || pos != text.size()) return std::nullopt;
    return narrow(ascii);
}

std::optional<float> ParameterReadRules::leadingNumber(const QString &line) {
    QString text;
    text.reserve(line.size());
    for (QChar c : line)
        if (!isBlank(c) && c != QLatin1Char('\n')) text.append(c);
    std::string ascii;
    int pos = 0;
    if (!scanNumber(text, &pos, QLatin1Char('.'), &ascii)) return 0.0f;
    return narrowFromDouble(ascii);
}

std::optional<float> ParameterReadRules::pointOrCommaNumber(const QString &line, QChar decimalSeparator) {
    QString text;
    text.reserve(line.size());
    for (QChar c : line)
        if (!isBlank(c) && c != QLatin1Char('\n')) text.append(c);
    for (QChar sep : {QChar(u'.'), QChar(u','), decimalSeparator}) {
        std::string ascii;
        int pos = 0;
        if (scanNumber(text, &pos, sep, &ascii) && pos == text.size()) return narrowFromDouble(ascii);
    }
    return std::nullopt;
}

std::optional<std::uint8_t> ParameterReadRules::byte(const QString &line, QChar decimalSeparator) {
    const auto value = localeNumber(line, decimalSeparator);
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(static_cast<double>(*value));
    if (rounded < 0.0 || rounded > 255.0) return std::nullopt;
    return static_cast<std::uint8_t>(rounded);
}

} // namespace z5
