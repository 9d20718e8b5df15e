#include "model/PrintableText.h"

namespace z5 {

namespace {

bool isControl(char16_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F); }

QString escaped(const QString &text, bool keepBreaks) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (!isControl(c) || (keepBreaks && (c == u'\n' || c == u'\t'))) {
            shown += ch;
            continue;
        }
        shown += QStringLiteral("\\x%1").arg(static_cast<int>(c), 2, 16, QLatin1Char('0'));
    }
    return shown;
}

} // namespace

QString printableLine(const QString &text) { return escaped(text, false); }
QString printableMessage(const QString &text) { return escaped(text, true); }

} // namespace z5
