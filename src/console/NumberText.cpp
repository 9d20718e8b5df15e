#include "console/NumberText.h"
#include <cfloat>
#include <cmath>

namespace z5 {

QString NumberText::format(float value) const {
    if (value == 0.0f) return QStringLiteral("0");  // never "-0"
    // Without group separators: what is shown must read back as the same number.
    QLocale plain = locale_;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(static_cast<double>(value), 'g', 7);
}

std::optional<double> NumberText::parse(const QString &text) const {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    QLocale strict = locale_;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = strict.toDouble(t, &ok);
    if (!ok && locale_.decimalPoint() != QStringLiteral(".") && locale_.groupSeparator() != QStringLiteral(".")) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        v = c.toDouble(t, &ok);
    }
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<float> NumberText::parseNumber(const QString &text) const {
    const std::optional<double> v = parse(text);
    if (!v || std::fabs(*v) > static_cast<double>(FLT_MAX)) return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<std::uint8_t> NumberText::parseByte(const QString &text) const {
    const std::optional<double> v = parse(text);
    if (!v) return std::nullopt;
    const double r = std::nearbyint(*v);  // the default rounding mode: half to even
    if (r < 0.0 || r > 255.0) return std::nullopt;
    return static_cast<std::uint8_t>(r);
}

std::optional<int> NumberText::choiceCode(float stored, int maxCode) {
    if (!std::isfinite(stored)) return std::nullopt;
    const double r = std::nearbyint(static_cast<double>(stored));
    if (r < 0.0 || r > maxCode) return std::nullopt;
    return static_cast<int>(r);
}

} // namespace z5
