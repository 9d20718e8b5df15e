#pragma once
#include <QString>

namespace z5 {

// Text of a failed netlist: "Ошибка netLIST " and a short detail naming the file line.
struct NetlistFault {
    static QString text(const QString &detail) { return QStringLiteral("Ошибка netLIST ") + detail; }
    static QString atLine(int fileLine, const QString &detail) {
        return text(QStringLiteral("строка %1: %2").arg(fileLine).arg(detail));
    }
};

} // namespace z5
