#pragma once
#include <QString>

namespace z5 {

// How instance numbers are given: the console's `Combo_EXZ_AUTO_HAND` entries, in order.
enum class Numbering { Manual = 0, Auto = 1 };

inline QString numberingName(Numbering mode) {
    return mode == Numbering::Auto ? QStringLiteral("Авто") : QStringLiteral("Ручное");
}

} // namespace z5
