#pragma once
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace z5 {

// How the parameter panel shows and reads numbers: in the user's locale, at most
// seven significant digits, as single precision.
class NumberText {
public:
    explicit NumberText(QLocale locale = QLocale()) : locale_(std::move(locale)) {}

    QString format(float value) const;
    QString formatByte(std::uint8_t value) const { return QString::number(value); }

    // The typed text as single precision: the locale's decimal separator (a point
    // too where it cannot be a group separator), blanks around it allowed. Empty
    // for text that is no number, and for one that single precision cannot hold.
    std::optional<float> parseNumber(const QString &text) const;
    // The typed text as a byte: the number rounded half to even, 0..255.
    std::optional<std::uint8_t> parseByte(const QString &text) const;

    // True for any number the text spells, whether or not a field can hold it.
    bool isNumber(const QString &text) const { return parse(text).has_value(); }

    // Code of the choice item that shows a stored value: the value rounded half
    // to even; empty when that is not a code 0..maxCode.
    static std::optional<int> choiceCode(float stored, int maxCode);

private:
    std::optional<double> parse(const QString &text) const;
    QLocale locale_;
};

} // namespace z5
