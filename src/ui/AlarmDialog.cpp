#include "ui/AlarmDialog.h"
#include "screen/ScreenEditor.h"
#include "screen/ScreenModel.h"
#include "ui/ColourSwatchRow.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace z5 {

AlarmDialog::AlarmDialog(ScreenEditor &editor, int slot, QWidget *owner)
    : ElementDialog(editor, slot, owner, QStringLiteral("Delete_signal")) {
    setObjectName(QStringLiteral("signal"));
    setWindowTitle(QStringLiteral("Сигнализация № ") + QString::number(slot + 1));

    auto *textLabel = new QLabel(QStringLiteral("Текст"), this);
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("alarmText"));
    // The controller's alarm text table holds 10 characters an element.
    text_->setMaxLength(AlarmForm::kMaxText);
    textLabel->setBuddy(text_);
    showAsText_ = new QCheckBox(QStringLiteral("  Сигнал"), this);
    showAsText_->setObjectName(QStringLiteral("Check1"));
    alarm_ = new QCheckBox(QStringLiteral("ALARM"), this);
    alarm_->setObjectName(QStringLiteral("ALARM"));
    // Text box and marker have different bounds.
    connect(showAsText_, &QCheckBox::toggled, this, &AlarmDialog::correctCoordinates);

    const int row = firstFreeRow();
    grid()->addWidget(textLabel, row, 0);
    grid()->addWidget(text_, row, 1, 1, 3);
    grid()->addWidget(showAsText_, row + 1, 0, 1, 2);
    grid()->addWidget(alarm_, row + 1, 2, 1, 2);
    addButtons(row + 2);

    const AlarmForm start = editor_.alarmForm(slot);
    setCoordinates(start.x, start.y);
    text_->setText(start.text.left(AlarmForm::kMaxText));
    setColours(start.textColour, start.backColour);
    showAsText_->setChecked(start.isText);
    alarm_->setChecked(start.alarm);
}

AlarmForm AlarmDialog::form() const {
    AlarmForm f;
    f.x = xField()->text();
    f.y = yField()->text();
    f.text = text_->text();
    f.textColour = swatches()->textColour();
    f.backColour = swatches()->backColour();
    f.isText = showAsText_->isChecked();
    f.alarm = alarm_->isChecked();
    return f;
}

ElementBounds::Range AlarmDialog::xRange() const {
    // A text stops where its last character is still on the screen.
    const AlarmForm f = form();
    const int cells = f.isText ? qMax(editor_.model().digits(), int(f.text.size())) : editor_.model().digits();
    return ElementBounds::dialogXRange(f.controlKind(), cells);
}

ElementBounds::Range AlarmDialog::yRange() const { return ElementBounds::dialogYRange(form().controlKind()); }

FormFault AlarmDialog::apply() {
    const FormFault fault = editor_.applyAlarm(slot_, form());
    markFault(fault, text_);
    return fault;
}

void AlarmDialog::remove() { editor_.deleteAlarm(slot_); }

} // namespace z5
