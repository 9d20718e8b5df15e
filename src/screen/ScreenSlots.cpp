#include "screen/ScreenSlots.h"

namespace z5 {

ElementControl *ScadaParameter::control(int kind) {
    return const_cast<ElementControl *>(static_cast<const ScadaParameter *>(this)->control(kind));
}

const ElementControl *ScadaParameter::control(int kind) const {
    switch (kind) {
    case Number: return &numberBox;
    case Level1: return &level1Picture;
    case Level2: return &level2Picture;
    case Gauge: return &gaugePicture;
    default: return nullptr;
    }
}

bool ScadaParameter::operator==(const ScadaParameter &o) const {
    return used == o.used && type == o.type && textColor == o.textColor && backColor == o.backColor &&
           numberBox == o.numberBox && level1Picture == o.level1Picture && level2Picture == o.level2Picture && gaugePicture == o.gaugePicture;
}

bool ScadaAlarm::operator==(const ScadaAlarm &o) const {
    return used == o.used && isText == o.isText && alarm == o.alarm && textColor == o.textColor &&
           backColor == o.backColor && textBox == o.textBox && marker == o.marker;
}

} // namespace z5
