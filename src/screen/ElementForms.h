#pragma once
#include "screen/ScreenElement.h"
#include "screen/ScreenSlots.h"
#include <QString>

namespace z5 {

// What the alarm dialog `signal` shows and edits; nothing reaches the model before "Ok".
struct AlarmForm {
    // The alarm text table's width on the controller.
    static constexpr int kMaxText = 10;

    QString x;  // "Координата Х", as typed
    QString y;  // "Координата Y"
    QString text;
    int textColour = 0;
    int backColour = 0;
    bool isText = false;  // "  Сигнал"
    bool alarm = false;   // `ALARM`

    ControlKind controlKind() const { return isText ? ControlKind::AlarmText : ControlKind::AlarmMarker; }
};

// What the parameter dialog `parametr` shows and edits; the kind chosen with the
// check box or `Combo1` is part of it, so "Отмена" drops that too.
struct ParameterForm {
    QString x;
    QString y;
    int textColour = 0;
    int backColour = 0;
    int kind = ScadaParameter::Number;

    bool graphic() const { return kind != ScadaParameter::Number; }
    // The check box: cleared gives a number; set turns a number into "Уровень 1".
    void setGraphic(bool on) {
        if (!on) kind = ScadaParameter::Number;
        else if (kind == ScadaParameter::Number) kind = ScadaParameter::Level1;
    }
    // `Combo1` entry 0..2 for kinds 1..3.
    int comboEntry() const { return graphic() ? kind - 1 : 0; }
    void setComboEntry(int entry) {
        if (entry >= 0 && entry < ScadaParameter::kKinds - 1) kind = entry + 1;
    }
    ControlKind controlKind() const {
        switch (kind) {
        case ScadaParameter::Level1: return ControlKind::Level1Picture;
        case ScadaParameter::Level2: return ControlKind::Level2Picture;
        case ScadaParameter::Gauge: return ControlKind::GaugePicture;
        default: return ControlKind::NumberBox;
        }
    }
};

// Why "Ok" was refused; the dialog marks the field concerned.
enum class FormFault { None, BadX, BadY, BadText, NoSlot };

} // namespace z5
