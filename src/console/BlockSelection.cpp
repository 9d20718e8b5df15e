#include "console/BlockSelection.h"

namespace z5 {
namespace {

constexpr int kIcons = 396;
constexpr int kTypes = 33;
constexpr int kRowHeight = 700;  // five fifths of 140 twips
constexpr int kColumns = 100;

// A fifth of a row is 140 twips: the position is scaled by 5 and divided by 700.
int rowPart(int top) { return (5 * top) / kRowHeight; }

std::optional<int> checked(int column) {
    if (column < 0 || column >= kColumns) return std::nullopt;
    return column;
}

} // namespace

std::optional<int> BlockSelection::columnAt(int left, int top) {
    if (left < 0 || top < 0) return std::nullopt;
    if (left < kSplitX && top < kSplitY) {
        const int v = left / kColumnWidth + rowPart(top);
        return checked(v > 1 ? v - 2 : v);
    }
    if (left > kSplitX && top < kSplitY)
        return checked((left - kSplitX) / kColumnWidth + rowPart(top) + 23);
    if (left < kSplitX && top > kSplitY)
        return checked(left / kColumnWidth + rowPart(top - kSplitY) + 48);
    if (left > kSplitX && top > kSplitY)
        return checked((left - kSplitX) / kColumnWidth + rowPart(top - kSplitY) + 73);
    return std::nullopt;
}

std::optional<int> BlockSelection::typeOfIcon(int iconNumber) {
    if (iconNumber < 0 || iconNumber >= kIcons) return std::nullopt;
    return iconNumber % kTypes + 1;
}

std::optional<int> BlockSelection::instanceOfIcon(int iconNumber) {
    if (iconNumber < 0 || iconNumber >= kIcons) return std::nullopt;
    return iconNumber / kTypes + 1;
}

} // namespace z5
