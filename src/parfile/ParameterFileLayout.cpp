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
    {T::Numbers, BlockType::A_I, false, 8, 0, 43, R::Locale},   // 1
    {T::Numbers, BlockType::A_O, false, 8, 0, 7, R::Locale},    // 2
    {T::Numbers, BlockType::D_I, false, 8, 0, 23, R::Locale},   // 3
    {T::Numbers, BlockType::D_O, false, 8, 0, 15, R::Leading},  // 4
    {T::Numbers, BlockType::MUL, false, 8, 0, 3, R::Leading},   // 5
    {T::Numbers, BlockType::SUM, false, 8, 0, 13, R::Leading},  // 6
    {T::Numbers, BlockType::DIV, false, 8, 0, 3, R::Leading},   // 7
    {T::Numbers, BlockType::SQR, false, 8, 0, 3, R::Leading},   // 8
    {T::Numbers, BlockType::AND, false, 8, 4, 4, R::Leading},   // 9
    {T::Numbers, BlockType::OR_, false, 8, 4, 4, R::Leading},   // 10
    {T::Numbers, BlockType::REG, false, 8, 0, 0, R::Leading},   // 11
    {T::Numbers, BlockType::S_P, false, 12, 0, 7, R::Leading},  // 12
    {T::SetpointNames, 0, false, 12, 0, 8, R::Text},       // 13
    {T::Numbers, BlockType::PID, false, 8, 0, 18, R::Locale},   // 14
    {T::Numbers, BlockType::MUX, false, 8, 0, 4, R::Locale},    // 15
    {T::Numbers, BlockType::PRO, false, 8, 0, 135, R::Locale},  // 16
    {T::Numbers, BlockType::PAN, false, 8, 0, 13, R::Locale},   // 17
    {T::PanelTexts, 0, false, 8, 0, 4, R::Text},        // 18
    {T::Numbers, BlockType::RTC, false, 8, 0, 5, R::Locale},    // 19
    {T::Numbers, BlockType::MIN, false, 8, 0, 10, R::Locale},   // 20
    {T::Numbers, BlockType::LIM, false, 8, 0, 4, R::Locale},    // 21
    {T::Numbers, BlockType::CMP, false, 8, 0, 5, R::Locale},    // 22
    {T::Numbers, BlockType::TIM, false, 8, 0, 12, R::Locale},   // 23
    {T::Numbers, BlockType::COU, false, 8, 0, 7, R::Locale},    // 24
    {T::Numbers, BlockType::OSC, false, 8, 0, 28, R::Locale},   // 25
    {T::Numbers, BlockType::GRA, false, 7, 0, 32, R::Locale},   // 26
    {T::TrendTexts, 0, true, 1, 0, 33, R::Text},        // 27
    {T::Numbers, BlockType::JUR, true, 1, 0, 51, R::Locale},    // 28
    {T::JournalTexts, 0, true, 1, 0, 32, R::Text},        // 29
    {T::JournalDelays, 0, true, 1, 0, 41, R::Byte},        // 30
    {T::Numbers, BlockType::SCA, true, 1, 0, 199, R::Locale},   // 31
    {T::Numbers, BlockType::LOG, false, 8, 0, 15, R::Locale},   // 32
    {T::Numbers, BlockType::MOT, false, 8, 0, 7, R::Locale},    // 33
    {T::Numbers, BlockType::UNI, false, 8, 0, 16, R::Locale},   // 34
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
