#include "console/PanelKeys.h"
#include <cmath>

namespace z5 {

int PanelKeys::keyAt(double x, double y) {
    bool inColumn = false;
    for (const Band &b : kColumns) inColumn = inColumn || b.holds(x);
    if (!inColumn) return kNoKey;
    const int column = static_cast<int>(std::lround(x)) / 50;
    for (std::size_t r = 0; r < kRowBands.size(); ++r)
        if (kRowBands[r].holds(y)) return column + kRowFirstKey[r];
    return kNoKey;
}

int PanelKeys::columnOf(int key) { return key >= 1 && key <= kKeys ? (key - 1) % 4 : -1; }

bool PanelKeys::accepts(int layout, int key, const std::array<bool, kSwitches> &switchOn) {
    if (key < 1 || key > kKeys) return false;
    switch (layout) {
    case 0:
    case 4: return key <= 8;
    case 1: return true;
    case 2: return !switchOn[static_cast<std::size_t>(columnOf(key))];
    case 3: return key == 5 || key == 6;
    default: return false;
    }
}

QRect PanelKeys::keyRect(int key) {
    if (key < 1 || key > kKeys) return {};
    const int rowFromTop = 2 - (key - 1) / 4;
    const Band &c = kColumns[static_cast<std::size_t>(columnOf(key))];
    const Band &r = kRowBands[static_cast<std::size_t>(rowFromTop)];
    // Drawn just inside the band so that every drawn pixel answers a click.
    return QRect(QPoint(c.low + 1, r.low + 1), QPoint(c.high - 1, r.high - 1));
}

std::vector<int> PanelKeys::drawnKeys(int layout) {
    std::vector<int> keys;
    for (int key = 1; key <= kKeys; ++key) {
        if (layout == 2 && key >= kFirstSwitchKey) continue;  // the switches stand there
        if (layout == 2 ? true : accepts(layout, key)) keys.push_back(key);
    }
    return keys;
}

QRect PanelKeys::switchRect(int switchIndex) {
    if (switchIndex < 0 || switchIndex >= kSwitches) return {};
    return keyRect(switchKey(switchIndex)).adjusted(-2, -4, 2, 4);
}

} // namespace z5
