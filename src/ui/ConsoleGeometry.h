#pragma once
#include <QPoint>
#include <QRect>
#include <cmath>

namespace z5::twips {

// The console is laid out in twips, 15 to a pixel, so that it keeps the
// proportions of its grid; on a high-DPI screen Qt scales the pixels.
constexpr int kPerPixel = 15;

inline int px(int twips) { return static_cast<int>(std::lround(twips / double(kPerPixel))); }
inline QPoint px(const QPoint &twips) { return {px(twips.x()), px(twips.y())}; }
inline QRect rect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

// The right-hand column (numbering, heading, "Обновлять", parameter rows and
// live view) starts just right of the grid's last slot numbers and is 4500
// twips wide, so that the console fits 1024 x 768 at 125 % without scrolling
// sideways.
constexpr int kPanelLeft = 7350;
constexpr int kPanelWidth = 4500;

// A block icon is 500 twips square; the cursor line runs 520 twips below its top.
constexpr int kIconSize = 500;
constexpr int kCursorOffset = 520;

} // namespace z5::twips
