#include "ui/TrendPageDialog.h"
#include "trends/TrendPage.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace z5 {

TrendPageDialog::TrendPageDialog(int page, QWidget *owner, std::function<void(int)> go)
    : QDialog(nullptr), owner_(owner), go_(std::move(go)) {
    // Not the owner's child: disabling the owner would disable the dialog too.
    setObjectName(QStringLiteral("sheet_GRAFIK_GO"));
    setWindowTitle(QStringLiteral("Страница ГРАФИКА"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *label = new QLabel(QStringLiteral("Страница 1-250"), this);
    label->setObjectName(QStringLiteral("Label1"));
    text_ = new QLineEdit(QString::number(page == 0 ? TrendPage::kFirstPage : page), this);
    text_->setObjectName(QStringLiteral("Text1"));
    label->setBuddy(text_);
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("GO_SHEET_GRAFIK"));
    ok->setDefault(true);
    auto *leave = new QPushButton(QStringLiteral("Выход"), this);
    leave->setObjectName(QStringLiteral("Command1"));
    connect(ok, &QPushButton::clicked, this, &TrendPageDialog::goToPage);
    connect(leave, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(text_, 1, 0, 1, 2);
    layout->addWidget(ok, 2, 0);
    layout->addWidget(leave, 2, 1);
    if (owner_) {
        WindowPlacement::centreOn(this, owner_);
        owner_->setEnabled(false);
    }
}

void TrendPageDialog::goToPage() {
    pending_ = true;
    const int page = pageNumberFromText(text_->text());
    close();
    if (go_) go_(page);
}

void TrendPageDialog::giveBack() {
    if (owner_ && !pending_) owner_->setEnabled(true);
}

void TrendPageDialog::closeEvent(QCloseEvent *event) {
    giveBack();
    QDialog::closeEvent(event);
}

} // namespace z5
