#pragma once
#include <QString>

namespace z5 {

// One designer control laid over the preview: its position in twips and whether it shows.
// The screen build reads the position even while the control is hidden.
struct ElementControl {
    int left = 0;
    int top = 0;
    bool visible = false;
    bool operator==(const ElementControl &o) const {
        return left == o.left && top == o.top && visible == o.visible;
    }
    bool operator!=(const ElementControl &o) const { return !(*this == o); }
};

// One displayed parameter of the operator screen.
struct ScadaParameter {
    enum Kind { Number = 0, Level1 = 1, Level2 = 2, Gauge = 3 };
    static constexpr int kKinds = 4;

    bool used = false;  // the slot holds a parameter
    int type = Number;  // its kind, 0..3
    int textColor = 0;  // parameter colour entry k
    int backColor = 0;  // parameter colour entry k + 16
    ElementControl numberBox;      // kind 0
    ElementControl level1Picture;  // "Уровень 1"
    ElementControl level2Picture;  // "Уровень 2"
    ElementControl gaugePicture;   // "Манометр"

    // The kind as the build and the file use it: a type outside 0..3 counts as a number.
    int kind() const { return type >= 0 && type < kKinds ? type : Number; }
    // The control that shows the given kind; null for a kind outside 0..3.
    ElementControl *control(int kind);
    const ElementControl *control(int kind) const;
    bool operator==(const ScadaParameter &o) const;
    bool operator!=(const ScadaParameter &o) const { return !(*this == o); }
};

// One alarm element of the operator screen. Its text lives in the model's text table.
struct ScadaAlarm {
    bool used = false;    // the slot holds an alarm element
    bool isText = false;  // "  Сигнал": shown as its text, else as a marker
    bool alarm = false;   // the check box `ALARM`
    int textColor = 0;    // alarm colour entry k
    int backColor = 0;    // alarm colour entry k + 16
    ElementControl textBox;
    ElementControl marker;

    ElementControl &shownControl() { return isText ? textBox : marker; }
    const ElementControl &shownControl() const { return isText ? textBox : marker; }
    bool operator==(const ScadaAlarm &o) const;
    bool operator!=(const ScadaAlarm &o) const { return !(*this == o); }
};

} // namespace z5
