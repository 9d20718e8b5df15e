#include "import/NetlistReader.h"
#include "import/NetlistFault.h"

namespace z5 {

QString NetlistReader::read(const QString &text, NetlistText &out) {
    out = NetlistText();
    NetlistText got;
    bool inNetlist = false;
    int fileLine = 0;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        ++fileLine;
        qsizetype end = pos;
        while (end < n && text[end] != u'\n' && text[end] != u'\r') ++end;
        const QStringView physical = QStringView(text).mid(pos, end - pos);
        pos = end;
        if (pos < n) pos += (text[pos] == u'\r' && pos + 1 < n && text[pos + 1] == u'\n') ? 2 : 1;

        qsizetype fieldStart = 0;
        for (;;) {
            qsizetype comma = physical.indexOf(u',', fieldStart);
            const qsizetype fieldEnd = comma < 0 ? physical.size() : comma;
            qsizetype first = fieldStart;
            while (first < fieldEnd && (physical[first] == u' ' || physical[first] == u'\t')) ++first;
            const QStringView field = physical.mid(first, fieldEnd - first);

            if (!inNetlist) {
                inNetlist = field.startsWith(u"(netlist ");
            } else if (got.lines.size() < kMaxLines) {
                got.lines.append(field.toString());
                got.fileLines.append(fileLine);
            } else if (!field.isEmpty() && field != u")") {
                // Closing brackets past the limit carry nothing; anything else would be lost.
                return NetlistFault::atLine(fileLine, QStringLiteral("больше %1 строк").arg(kMaxLines));
            }
            if (comma < 0) break;
            fieldStart = comma + 1;
        }
    }
    if (!inNetlist) return NetlistFault::text(QStringLiteral("нет строки \"(netlist \""));
    out = std::move(got);
    return QString();
}

} // namespace z5
