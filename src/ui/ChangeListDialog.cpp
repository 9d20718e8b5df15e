#include "ui/ChangeListDialog.h"
#include "ui/OwnedDialog.h"
#include "ui/QtTranslations.h"
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace z5 {

ChangeListDialog::ChangeListDialog(const std::vector<FieldDifference> &differences, QWidget *opener)
    : QDialog(opener), opener_(opener) {
    setObjectName(QStringLiteral("changeList"));
    setWindowTitle(QStringLiteral("Изменения"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    auto *count = new QLabel(differences.empty() ? QStringLiteral("Нет изменений с последней записи в Z5")
                                                 : QStringLiteral("Изменений с последней записи в Z5: %1")
                                                       .arg(differences.size()),
                             this);
    count->setObjectName(QStringLiteral("lblChangeCount"));
    layout->addWidget(count);

    table_ = new QTableWidget(static_cast<int>(differences.size()), 5, this);
    table_->setObjectName(QStringLiteral("tblChanges"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Блок"), QStringLiteral("Строка"), QStringLiteral("Параметр"), QStringLiteral("Записано"),
         QStringLiteral("Сейчас")});
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 0; i < table_->rowCount(); ++i) {
        const FieldDifference &d = differences[static_cast<std::size_t>(i)];
        const QStringList cells{d.block, d.wholeTable() ? QString() : QString::number(d.row + 1), d.caption, d.then,
                                d.now};
        for (int c = 0; c < cells.size(); ++c) table_->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(okButtonText());
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    // Wide enough for its columns, within the screen the owner keeps it on.
    int width = 0;
    for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
    resize(qBound(420, width + 40, 900), qBound(220, 120 + table_->rowCount() * 24, 600));
    holdOwner(this, opener_);
}

ChangeListDialog *ChangeListDialog::open(const std::vector<FieldDifference> &differences, QWidget *opener) {
    auto *dialog = new ChangeListDialog(differences, opener);
    dialog->show();
    return dialog;
}

void ChangeListDialog::giveBack() {
    if (opener_) opener_->setEnabled(true);
}

void ChangeListDialog::closeEvent(QCloseEvent *event) {
    giveBack();
    QDialog::closeEvent(event);
}

void ChangeListDialog::done(int result) {
    giveBack();
    QDialog::done(result);
}

} // namespace z5
