#include "screen/ScreenSlots.h"

namespace z5 {

ElementControl *ScadaParameter::control(int kind) {
    return const_cast<ElementControl *>(static_cast<const ScadaParameter *>(this)->control(kind));
}

const ElementControl *ScadaParameter::control(int kind) const {
    switch (kind) {
    case Number: return &Text1;
    case Level1: return &Picture3;
    case Level2: return &Picture4;
    case Gauge: return &Picture5;
    default: return nullptr;
    }
}

bool ScadaParameter::operator==(const ScadaParameter &o) const {
    return used == o.used && type == o.type && textColor == o.textColor && backColor == o.backColor &&
           Text1 == o.Text1 && Picture3 == o.Picture3 && Picture4 == o.Picture4 && Picture5 == o.Picture5;
}

bool ScadaSignal::operator==(const ScadaSignal &o) const {
    return used == o.used && isText == o.isText && alarm == o.alarm && textColor == o.textColor &&
           backColor == o.backColor && textBox == o.textBox && marker == o.marker;
}

} // namespace z5
