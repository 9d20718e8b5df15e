#pragma once
#include "ui/ElementDialog.h"

class QCheckBox;

namespace z5 {

// The alarm dialog `signal` for one alarm slot: position, text, colours and the
// check boxes "  Сигнал" and `ALARM`.
class AlarmDialog : public ElementDialog {
    Q_OBJECT
public:
    AlarmDialog(ScreenEditor &editor, int slot, QWidget *owner);

    QLineEdit *alarmText() const { return text_; }
    QCheckBox *showAsText() const { return showAsText_; }
    QCheckBox *alarmBox() const { return alarm_; }

protected:
    ElementBounds::Range xRange() const override;
    ElementBounds::Range yRange() const override;
    FormFault apply() override;
    void remove() override;

private:
    AlarmForm form() const;

    QLineEdit *text_;
    QCheckBox *showAsText_;
    QCheckBox *alarm_;
};

} // namespace z5
