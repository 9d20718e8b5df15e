#include "link/LineErrors.h"
#include <QStringList>

namespace z5 {

QString LineErrors::text() const {
    if (!any()) return QString();
    static const struct {
        Flag flag;
        const char *words;
    } kWords[] = {
        {Overrun, "переполнение приёмника"},
        {InputOverflow, "переполнение буфера приёма"},
        {Framing, "ошибка кадра"},
        {Parity, "ошибка чётности"},
        {Break, "обрыв линии (break)"},
    };
    QStringList parts;
    for (const auto &w : kWords)
        if (has(w.flag)) parts << QString::fromUtf8(w.words);
    return QStringLiteral("ошибка линии: ") + parts.join(QStringLiteral(", "));
}

} // namespace z5
