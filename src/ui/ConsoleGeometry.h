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

// A block icon is 500 twips square; the cursor line runs 520 twips below its top.
constexpr int kIconSize = 500;
constexpr int kCursorOffset = 520;

} // namespace z5::twips
