// What the user types into a parameter field: a number is either refused or a
// finite single-precision value that the field shows again as the same number.
#include "console/NumberText.h"
#include <QLocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const z5::NumberText texts[] = {z5::NumberText(QLocale::c()), z5::NumberText(QLocale(QLocale::Russian)),
                                           z5::NumberText(QLocale(QLocale::German)),
                                           z5::NumberText(QLocale(QLocale::English, QLocale::UnitedStates))};
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));
    for (const z5::NumberText &text : texts) {
        if (const auto v = text.parseNumber(typed)) {
            if (!std::isfinite(*v)) std::abort();
            // Seven significant digits shown, read back within their rounding.
            const auto again = text.parseNumber(text.format(*v));
            if (!again || std::fabs(double(*again) - double(*v)) > 1e-6 * std::fabs(double(*v)) + 1e-38) std::abort();
        }
        if (const auto b = text.parseByte(typed)) {
            if (text.parseByte(text.formatByte(*b)) != b) std::abort();
        }
    }
    if (size >= 4) {
        float stored;
        std::memcpy(&stored, data, sizeof stored);
        const int maxCode = size > 4 ? data[4] : 3;
        if (const auto code = z5::NumberText::choiceCode(stored, maxCode))
            if (*code < 0 || *code > maxCode) std::abort();
    }
    return 0;
}
