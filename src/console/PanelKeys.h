#pragma once
#include <QRect>
#include <array>
#include <optional>
#include <vector>

namespace z5 {

// The keys of the operator panel pictures: three rows of four, 9..12 at the
// top, 5..8 in the middle, 1..4 at the bottom, in the picture's own pixels.
// Which key lies under a point, which keys each picture accepts, and where
// the keys are drawn.
class PanelKeys {
public:
    static constexpr int kNoKey = 100;
    static constexpr int kKeys = 12;
    static constexpr int kPictures = 5;      // `Picture_PANEL_1` .. `_5` as layouts 0..4
    static constexpr int kSwitches = 4;
    static constexpr int kFirstSwitchKey = 9;
    // Large enough for the lowest key row and the right-hand column.
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 145;

    struct Band {
        int low;
        int high;   // both exclusive
        bool holds(double v) const { return v > low && v < high; }
    };
    static constexpr std::array<Band, 4> kColumns{{{10, 38}, {64, 90}, {115, 145}, {165, 192}}};
    // Top to bottom, with the number of the row's first key.
    static constexpr std::array<Band, 3> kRowBands{{{15, 40}, {60, 85}, {110, 135}}};
    static constexpr std::array<int, 3> kRowFirstKey{{9, 5, 1}};

    // The key under (x, y), or kNoKey: outside the column bands and between the
    // key rows there is no key.
    static int keyAt(double x, double y);
    // Column 0..3 of a key 1..12; -1 for none.
    static int columnOf(int key);
    // True when the picture of layout 0..4 sends this key. `switchOn` says which
    // of the four switches stand on; the third picture refuses the keys of a
    // column whose switch is on.
    static bool accepts(int layout, int key, const std::array<bool, kSwitches> &switchOn = {});
    // The key a click on switch 0..3 sends.
    static int switchKey(int switchIndex) { return kFirstSwitchKey + switchIndex; }

    // Where key 1..12 is drawn; an empty rectangle for no key.
    static QRect keyRect(int key);
    // The keys drawn on the picture of layout 0..4 (its accepted keys, and on
    // the third picture the switches take the top row's places).
    static std::vector<int> drawnKeys(int layout);
    // Where switch 0..3 stands on the third picture.
    static QRect switchRect(int switchIndex);
};

} // namespace z5
