#include "ui/ElementDialog.h"
#include "ui/OwnedDialog.h"
#include "screen/ScreenPalette.h"
#include "ui/ColourSwatchRow.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace z5 {

namespace {
const QString kFaultStyle = QStringLiteral("QLineEdit { border: 2px solid red; }");

QString sampleStyle(int colour, int textColour) {
    const QColor fill = QColor::fromRgb(ScreenPalette::colour(colour));
    const QColor text = QColor::fromRgb(ScreenPalette::colour(textColour));
    return QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid gray; padding: 2px; }")
        .arg(fill.name(), text.name());
}
} // namespace

ElementDialog::ElementDialog(ScreenEditor &editor, int slot, QWidget *owner, const QString &deleteName)
    : QDialog(owner), editor_(editor), slot_(slot), owner_(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    grid_ = new QGridLayout(this);

    auto *xLabel = new QLabel(QStringLiteral("Координата Х"), this);
    xField_ = new QLineEdit(this);
    xField_->setObjectName(QStringLiteral("Text1"));
    xLabel->setBuddy(xField_);
    auto *yLabel = new QLabel(QStringLiteral("Координата Y"), this);
    yField_ = new QLineEdit(this);
    yField_->setObjectName(QStringLiteral("Text2"));
    yLabel->setBuddy(yField_);
    for (QLineEdit *field : {xField_, yField_}) {
        field->setMaximumWidth(70);
        connect(field, &QLineEdit::textEdited, this, &ElementDialog::correctCoordinates);
    }
    grid_->addWidget(xLabel, 0, 0);
    grid_->addWidget(xField_, 0, 1);
    grid_->addWidget(yLabel, 0, 2);
    grid_->addWidget(yField_, 0, 3);

    swatches_ = new ColourSwatchRow(this);
    grid_->addWidget(swatches_, 1, 0, 1, 4);
    offSample_ = new QLabel(QStringLiteral("Выключить"), this);
    onSample_ = new QLabel(QStringLiteral("Включить"), this);
    auto *samples = new QHBoxLayout;
    for (QLabel *sample : {offSample_, onSample_}) {
        sample->setObjectName(QStringLiteral("Text_SIGNAL_TEXT_nabor"));
        sample->setAlignment(Qt::AlignCenter);
        samples->addWidget(sample);
    }
    grid_->addLayout(samples, 2, 0, 1, 4);
    connect(swatches_, &ColourSwatchRow::chosenChanged, this, &ElementDialog::showSamples);
    showSamples();

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    delete_ = new QPushButton(QStringLiteral("Удалить"), this);
    delete_->setObjectName(deleteName);
    connect(ok_, &QPushButton::clicked, this, [this] {
        const FormFault fault = apply();
        if (fault == FormFault::None) accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(delete_, &QPushButton::clicked, this, [this] {
        remove();
        accept();
    });

    holdOwner(this, owner_);
}

void ElementDialog::addButtons(int row) {
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    buttons->addWidget(delete_);
    grid_->addLayout(buttons, row, 0, 1, 4);
    adjustSize();
    if (owner_) WindowPlacement::centreOn(this, owner_);
}

void ElementDialog::setCoordinates(const QString &x, const QString &y) {
    xField_->setText(x);
    yField_->setText(y);
}

void ElementDialog::setColours(int textColour, int backColour) { swatches_->setChosen(textColour, backColour); }

void ElementDialog::showSamples() {
    // Off: the element in its background colour; on: in its text colour.
    const int text = swatches_->textColour();
    const int back = swatches_->backColour();
    offSample_->setStyleSheet(sampleStyle(back, (~back) & 7));
    onSample_->setStyleSheet(sampleStyle(text, (~text) & 7));
}

void ElementDialog::correctCoordinates() {
    const QString x = ElementBounds::corrected(xField_->text(), xRange());
    if (x != xField_->text()) xField_->setText(x);
    const QString y = ElementBounds::corrected(yField_->text(), yRange());
    if (y != yField_->text()) yField_->setText(y);
}

void ElementDialog::markFault(FormFault fault, QLineEdit *textField) {
    xField_->setStyleSheet(fault == FormFault::BadX ? kFaultStyle : QString());
    yField_->setStyleSheet(fault == FormFault::BadY ? kFaultStyle : QString());
    if (textField) textField->setStyleSheet(fault == FormFault::BadText ? kFaultStyle : QString());
    if (fault == FormFault::BadX) xField_->setFocus();
    if (fault == FormFault::BadY) yField_->setFocus();
    if (textField && fault == FormFault::BadText) textField->setFocus();
}

void ElementDialog::finish() {
    if (finished_) return;
    finished_ = true;
    if (owner_) owner_->setEnabled(true);
}

void ElementDialog::closeEvent(QCloseEvent *event) {
    finish();
    QDialog::closeEvent(event);
}

void ElementDialog::done(int result) {
    finish();
    QDialog::done(result);
}

} // namespace z5
