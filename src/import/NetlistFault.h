#pragma once
#include "model/PrintableText.h"
#include <QString>

namespace z5 {

// Text of a failed netlist: "Ошибка netLIST " and a short detail naming the file line.
// The detail may quote the file (a designator, a path): its control characters
// are shown escaped.
struct NetlistFault {
    static QString text(const QString &detail) { return QStringLiteral("Ошибка netLIST ") + printableLine(detail); }
    static QString atLine(int fileLine, const QString &detail) {
        return text(QStringLiteral("строка %1: %2").arg(fileLine).arg(detail));
    }
};

} // namespace z5
