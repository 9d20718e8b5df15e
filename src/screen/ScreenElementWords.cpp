#include "screen/ScreenElementWords.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenModel.h"

namespace z5 {
namespace {

// Words read from a file may hold any 32-bit value: wrap rather than overflow.
std::int32_t wrapped(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

} // namespace

QByteArray ScreenElementWords::update(ScreenModel &model) {
    constexpr int kSlots = ScreenModel::kSlots;
    // Bare positions first (even: X, odd: Y); the attribute bits follow below.
    std::int32_t position[ScreenModel::kCoordWords];
    for (int k = 0; k < kSlots; ++k) {
        // A free slot goes off the screen wherever its control was left, so that a
        // deleted element really leaves the controller's display.
        const ScadaParameter &p = *model.parameter(k);
        const int kind = p.kind();
        if (p.used) {
            const ElementControl &c = *p.control(kind);
            position[2 * k] = ScreenGeometry::parameterX(kind, c.left);
            position[2 * k + 1] = ScreenGeometry::parameterY(kind, c.top);
        } else {
            position[2 * k] = position[2 * k + 1] = ScreenGeometry::kOffScreen;
        }
        const ScadaAlarm &alarm = *model.alarm(k);
        if (alarm.used) {
            const ElementControl &s = alarm.shownControl();
            position[2 * kSlots + 2 * k] = ScreenGeometry::alarmX(s.left);
            position[2 * kSlots + 2 * k + 1] = ScreenGeometry::alarmY(s.top);
        } else {
            position[2 * kSlots + 2 * k] = position[2 * kSlots + 2 * k + 1] = ScreenGeometry::kOffScreen;
        }
    }

    QByteArray bytes;
    bytes.reserve(kBytes);
    for (int m = 0; m < ScreenModel::kCoordWords; ++m) {
        const std::int32_t attributes = model.attributeBits(m);
        const std::int32_t word = wrapped(std::int64_t(position[m]) + attributes);
        model.setCoord(m, word, attributes);
        const std::uint32_t bits = static_cast<std::uint32_t>(word);
        bytes.append(static_cast<char>((bits >> 8) & 0xFF));
        bytes.append(static_cast<char>(bits & 0xFF));
    }
    return bytes;
}

} // namespace z5
