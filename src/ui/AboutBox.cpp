#include "ui/AboutBox.h"
#include "ui/OwnedDialog.h"
#include "ui/QtTranslations.h"
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace z5 {

AboutBox::AboutBox(QWidget *opener, const QString &recordText) : QDialog(opener), opener_(opener) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("О программе"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("Конфигуратор  Z5"), this);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto *version = new QLabel(QStringLiteral("Version " Z5_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    auto *record = new QLabel(recordText, this);
    record->setObjectName(QStringLiteral("lblRecord"));
    record->setAlignment(Qt::AlignCenter);
    // The path is there to be copied.
    record->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    // Return closes the box wherever the focus was.
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(okButtonText());
    ok->setDefault(true);
    ok->setFocus(Qt::OtherFocusReason);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(record);
    layout->addWidget(buttons);
    holdOwner(this, opener_);
}

void AboutBox::giveBack() {
    if (opener_) opener_->setEnabled(true);
}

void AboutBox::closeEvent(QCloseEvent *event) {
    giveBack();
    QDialog::closeEvent(event);
}

void AboutBox::done(int result) {
    giveBack();
    QDialog::done(result);
}

} // namespace z5
