#include "parfile/ParameterFileLayout.h"
#include "model/BlockCatalogue.h"

namespace z5 {
namespace {

using S = ParameterFileLayout::Section;
using T = StoreTable;
using R = ReadRule;

// The order is the file's own: MUX follows PID, each text table follows the
// numbers of its block type; RS4, ABS, XOR and TRI are not in the file.
const std::array<S, ParameterFileLayout::kSectionCount> kSections = {{
    {T::Parametr, A_I, false, 8, 0, 43, R::Locale},   // 1
    {T::Parametr, A_O, false, 8, 0, 7, R::Locale},    // 2
    {T::Parametr, D_I, false, 8, 0, 23, R::Locale},   // 3
    {T::Parametr, D_O, false, 8, 0, 15, R::Leading},  // 4
    {T::Parametr, MUL, false, 8, 0, 3, R::Leading},   // 5
    {T::Parametr, SUM, false, 8, 0, 13, R::Leading},  // 6
    {T::Parametr, DIV, false, 8, 0, 3, R::Leading},   // 7
    {T::Parametr, SQR, false, 8, 0, 3, R::Leading},   // 8
    {T::Parametr, AND, false, 8, 4, 4, R::Leading},   // 9
    {T::Parametr, OR_, false, 8, 4, 4, R::Leading},   // 10
    {T::Parametr, REG, false, 8, 0, 0, R::Leading},   // 11
    {T::Parametr, S_P, false, 12, 0, 7, R::Leading},  // 12
    {T::NAME_S_P, 0, false, 12, 0, 8, R::Text},       // 13
    {T::Parametr, PID, false, 8, 0, 18, R::Locale},   // 14
    {T::Parametr, MUX, false, 8, 0, 4, R::Locale},    // 15
    {T::Parametr, PRO, false, 8, 0, 135, R::Locale},  // 16
    {T::Parametr, PAN, false, 8, 0, 13, R::Locale},   // 17
    {T::NAME_PAN, 0, false, 8, 0, 4, R::Text},        // 18
    {T::Parametr, RTC, false, 8, 0, 5, R::Locale},    // 19
    {T::Parametr, MIN, false, 8, 0, 10, R::Locale},   // 20
    {T::Parametr, LIM, false, 8, 0, 4, R::Locale},    // 21
    {T::Parametr, CMP, false, 8, 0, 5, R::Locale},    // 22
    {T::Parametr, TIM, false, 8, 0, 12, R::Locale},   // 23
    {T::Parametr, COU, false, 8, 0, 7, R::Locale},    // 24
    {T::Parametr, OSC, false, 8, 0, 28, R::Locale},   // 25
    {T::Parametr, GRA, false, 7, 0, 32, R::Locale},   // 26
    {T::NAME_GRA, 0, true, 1, 0, 33, R::Text},        // 27
    {T::Parametr, JUR, true, 1, 0, 51, R::Locale},    // 28
    {T::NAME_JUR, 0, true, 1, 0, 32, R::Text},        // 29
    {T::BYTE_JUR, 0, true, 1, 0, 41, R::Byte},        // 30
    {T::Parametr, SCA, true, 1, 0, 199, R::Locale},   // 31
    {T::Parametr, LOG, false, 8, 0, 15, R::Locale},   // 32
    {T::Parametr, MOT, false, 8, 0, 7, R::Locale},    // 33
    {T::Parametr, UNI, false, 8, 0, 16, R::Locale},   // 34
}};

} // namespace

QString ParameterFileLayout::header() {
    return QStringLiteral("*************** Параметры схемы ****************");
}

const std::array<S, ParameterFileLayout::kSectionCount> &ParameterFileLayout::sections() { return kSections; }

int ParameterFileLayout::firstLine(int section) {
    if (section < 0 || section >= kSectionCount) return 0;
    int line = 2;  // line 1 is the header
    for (int i = 0; i < section; ++i) line += kSections[i].values();
    return line;
}

int ParameterFileLayout::lastLine(int section) {
    if (section < 0 || section >= kSectionCount) return 0;
    return firstLine(section) + kSections[section].values() - 1;
}

} // namespace z5
