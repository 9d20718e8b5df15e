#include "ui/AboutBox.h"
#include "ui/OwnedDialog.h"
#include "ui/QtTranslations.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace z5 {

AboutBox::AboutBox(QWidget *opener, const QString &recordText, const QList<ShippedLicence> &licences)
    : QDialog(opener), opener_(opener) {
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
    if (!licences.isEmpty()) addLicences(layout, buttons, licences);
    layout->addWidget(buttons);
    holdOwner(this, opener_);
}

void AboutBox::addLicences(QVBoxLayout *layout, QDialogButtonBox *buttons, const QList<ShippedLicence> &licences) {
    auto *details = new QWidget(this);
    details->setObjectName(QStringLiteral("licences"));
    auto *detailsLayout = new QVBoxLayout(details);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    auto *names = new QComboBox(details);
    names->setObjectName(QStringLiteral("cmbLicence"));
    auto *text = new QPlainTextEdit(details);
    text->setObjectName(QStringLiteral("txtLicence"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setMinimumSize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 82, fontMetrics().lineSpacing() * 18);
    for (const ShippedLicence &licence : licences) names->addItem(licence.name, licence.text);
    connect(names, &QComboBox::currentIndexChanged, text,
            [names, text](int index) { text->setPlainText(names->itemData(index).toString()); });
    text->setPlainText(licences.first().text);
    detailsLayout->addWidget(names);
    detailsLayout->addWidget(text);
    details->hide();
    layout->addWidget(details, 1);
    QPushButton *show = buttons->addButton(QStringLiteral("Лицензии"), QDialogButtonBox::ActionRole);
    show->setObjectName(QStringLiteral("btnLicences"));
    show->setCheckable(true);
    show->setAutoDefault(false);
    connect(show, &QPushButton::toggled, this, [this, details](bool shown) {
        details->setVisible(shown);
        adjustSize();
        // Grown or shrunk, the box stays centred on its opener and on the screen.
        if (opener_) WindowPlacement::centreOn(this, opener_);
        WindowPlacement::fitToScreen(this);
    });
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
