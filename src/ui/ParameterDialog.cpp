#include "ui/ParameterDialog.h"
#include "screen/ScreenEditor.h"
#include "screen/ScreenModel.h"
#include "ui/ColourSwatchRow.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>

namespace z5 {

namespace {
// A small drawing of the chosen picture kind.
QPixmap kindPixmap(int kind) {
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::darkGray, 2));
    if (kind == ScadaParameter::Gauge) {
        p.drawEllipse(4, 4, 32, 32);
        p.drawLine(20, 20, 31, 9);
    } else {
        const int height = kind == ScadaParameter::Level1 ? 20 : 36;
        p.drawRect(15, 38 - height, 10, height);
        p.fillRect(16, 38 - height / 2, 9, height / 2, Qt::green);
    }
    return pixmap;
}
} // namespace

ParameterDialog::ParameterDialog(ScreenEditor &editor, int slot, QWidget *owner)
    : ElementDialog(editor, slot, owner, QStringLiteral("delete_parametr")) {
    setObjectName(QStringLiteral("parametr"));
    setWindowTitle(QStringLiteral("Параметр № ") + QString::number(slot + 1));

    graphic_ = new QCheckBox(QStringLiteral("Графическое отображение"), this);
    graphic_->setObjectName(QStringLiteral("Check1"));
    numberLabel_ = new QLabel(QStringLiteral("Число"), this);
    combo_ = new QComboBox(this);
    combo_->setObjectName(QStringLiteral("Combo1"));
    combo_->addItems({QStringLiteral("Уровень 1"), QStringLiteral("Уровень 2"), QStringLiteral("Манометр")});
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("kindPicture"));

    const int row = firstFreeRow();
    grid()->addWidget(graphic_, row, 0, 1, 4);
    grid()->addWidget(numberLabel_, row + 1, 0);
    grid()->addWidget(combo_, row + 1, 1, 1, 2);
    grid()->addWidget(picture_, row + 1, 3);
    addButtons(row + 2);

    const ParameterForm start = editor_.parameterForm(slot);
    setCoordinates(start.x, start.y);
    setColours(start.textColour, start.backColour);
    kind_ = start.kind;
    showKind();

    connect(graphic_, &QCheckBox::toggled, this, [this](bool on) {
        ParameterForm f = form();
        f.setGraphic(on);
        kind_ = f.kind;
        showKind();
    });
    connect(combo_, &QComboBox::activated, this, [this](int entry) {
        ParameterForm f = form();
        f.setComboEntry(entry);
        kind_ = f.kind;
        showKind();
    });
}

void ParameterDialog::showKind() {
    const ParameterForm f = form();
    const QSignalBlocker blockCheck(graphic_);
    graphic_->setChecked(f.graphic());
    numberLabel_->setVisible(!f.graphic());
    combo_->setVisible(f.graphic());
    picture_->setVisible(f.graphic());
    combo_->setCurrentIndex(f.comboEntry());
    if (f.graphic()) picture_->setPixmap(kindPixmap(f.kind));
    // Each kind has its own bounds.
    correctCoordinates();
}

ParameterForm ParameterDialog::form() const {
    ParameterForm f;
    f.x = xField()->text();
    f.y = yField()->text();
    f.textColour = swatches()->textColour();
    f.backColour = swatches()->backColour();
    f.kind = kind_;
    return f;
}

ElementBounds::Range ParameterDialog::xRange() const {
    return ElementBounds::dialogXRange(form().controlKind(), editor_.model().digits());
}

ElementBounds::Range ParameterDialog::yRange() const { return ElementBounds::dialogYRange(form().controlKind()); }

FormFault ParameterDialog::apply() {
    const FormFault fault = editor_.applyParameter(slot_, form());
    markFault(fault);
    return fault;
}

void ParameterDialog::remove() { editor_.deleteParameter(slot_); }

} // namespace z5
