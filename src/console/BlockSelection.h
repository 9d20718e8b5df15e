#pragma once
#include <optional>

namespace z5 {

// Which block an icon of the console stands for. The block is found from the
// icon's own corner (in twips), not from the mouse, so a click anywhere on the
// icon selects the same column.
class BlockSelection {
public:
    // The icon area is split into quadrants at these coordinates.
    static constexpr int kSplitX = 3675;
    static constexpr int kSplitY = 3615;
    static constexpr int kColumnWidth = 710;

    // Column (0..99) of the block whose icon has its corner at (left, top);
    // empty for a corner on a quadrant border or outside the grid.
    static std::optional<int> columnAt(int left, int top);
    // Type code (1..33) of icon 0..395; empty for any other number.
    static std::optional<int> typeOfIcon(int iconNumber);
    // Instance number (1..12) of icon 0..395; empty for any other number.
    static std::optional<int> instanceOfIcon(int iconNumber);
};

} // namespace z5
