#include "ui/WorkReportDialog.h"
#include "ui/Printing.h"
#include "app/Session.h"
#include "app/WorkReportExport.h"
#include "app/WorkReportPrintout.h"
#include "model/Prompts.h"
#include "ui/OwnedDialog.h"
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace z5 {
namespace {

const QString kCaption = QStringLiteral("Отчёт о работах");

QPushButton *button(const char *name, const QString &text, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QDateEdit *dayEdit(const char *name, QWidget *parent) {
    auto *edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return edit;
}

} // namespace

WorkReportDialog::WorkReportDialog(const WriteHistory &history, Prompts &prompts, QWidget *opener)
    : QDialog(opener), history_(history), prompts_(prompts), opener_(opener) {
    setObjectName(QStringLiteral("workReport"));
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);

    auto *range = new QHBoxLayout;
    first_ = dayEdit("dteFirstDay", this);
    last_ = dayEdit("dteLastDay", this);
    auto *from = new QLabel(QStringLiteral("&С"), this);
    from->setBuddy(first_);
    auto *to = new QLabel(QStringLiteral("&по"), this);
    to->setBuddy(last_);
    range->addWidget(from);
    range->addWidget(first_);
    range->addWidget(to);
    range->addWidget(last_);
    range->addStretch();
    layout->addLayout(range);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblWorkReport"));
    table_->setModel(&report_);
    table_->verticalHeader()->setVisible(false);
    table_->setWordWrap(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_, 1);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblWorkReportStatus"));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto *buttons = new QHBoxLayout;
    QPushButton *print = button("btnPrint", QStringLiteral("Печать…"), this);
    QPushButton *pdf = button("btnPdf", QStringLiteral("PDF…"), this);
    QPushButton *excel = button("btnExcel", QStringLiteral("Excel…"), this);
    QPushButton *close = button("btnClose", QStringLiteral("Закрыть"), this);
    buttons->addWidget(print);
    buttons->addWidget(pdf);
    buttons->addWidget(excel);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(first_, &QDateEdit::dateChanged, this, &WorkReportDialog::rebuild);
    connect(last_, &QDateEdit::dateChanged, this, &WorkReportDialog::rebuild);
    connect(print, &QPushButton::clicked, this, &WorkReportDialog::print);
    connect(pdf, &QPushButton::clicked, this, &WorkReportDialog::savePdf);
    connect(excel, &QPushButton::clicked, this, &WorkReportDialog::saveWorkbook);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    rebuild();
    resize(900, 460);
    holdOwner(this, opener_);
}

WorkReportDialog *WorkReportDialog::open(const Session &session, QWidget *opener) {
    if (!session.writeHistory) {
        session.prompts.message(QStringLiteral("Журнал записей в Z5 недоступен: отчёт о работах составить не из чего."),
                                kCaption);
        return nullptr;
    }
    auto *dialog = new WorkReportDialog(*session.writeHistory, session.prompts, opener);
    dialog->show();
    return dialog;
}

void WorkReportDialog::rebuild() {
    // Days picked the wrong way round still mean the days between them.
    const QDate a = first_->date();
    const QDate b = last_->date();
    report_.build(history_, std::min(a, b), std::max(a, b));
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    status_->setText(report_.rowCount() == 0 ? QStringLiteral("Записей в Z5 за эти дни нет.")
                                             : QStringLiteral("Записей в Z5: %1").arg(report_.rowCount()));
}

QString WorkReportDialog::defaultName(const QString &suffix) const {
    const QString first = report_.first().toString(Qt::ISODate);
    const QString last = report_.last().toString(Qt::ISODate);
    const QString days = first == last ? first : first + QStringLiteral(" — ") + last;
    return QDir::home().filePath(QStringLiteral("%1 %2.%3").arg(kCaption, days, suffix));
}

bool WorkReportDialog::printTo(QPrinter &printer) {
    return Printing::paintOn(printer, prompts_, [&](QPainter &painter, QPrinter &) {
        WorkReportPrintout::paint(painter, printer, report_);
    });
}

void WorkReportDialog::print() {
    Printing::preview(this, [this](QPrinter &printer) { printTo(printer); }, report_.title());
}

void WorkReportDialog::savePdf() {
    const QString path = prompts_.saveFileName(QStringLiteral("PDF"), QStringLiteral("*.pdf"), defaultName("pdf"));
    if (path.isEmpty()) return;
    QString error;
    if (!WorkReportExport::writePdf(path, report_, &error)) {
        prompts_.message(QStringLiteral("PDF не записан:\n%1\n%2").arg(QDir::toNativeSeparators(path), error),
                         QStringLiteral("PDF"), Prompts::Kind::Error);
        return;
    }
    status_->setText(QStringLiteral("PDF записан: %1").arg(QDir::toNativeSeparators(path)));
}

void WorkReportDialog::saveWorkbook() {
    const QString path = prompts_.saveFileName(QStringLiteral("EXCEL"), QStringLiteral("*.xlsx"), defaultName("xlsx"));
    if (path.isEmpty()) return;
    QString error;
    if (!WorkReportExport::writeWorkbook(path, report_, &error)) {
        prompts_.message(QStringLiteral("Книга не записана:\n%1\n%2").arg(QDir::toNativeSeparators(path), error),
                         QStringLiteral("EXCEL"), Prompts::Kind::Error);
        return;
    }
    status_->setText(QStringLiteral("Книга записана: %1").arg(QDir::toNativeSeparators(path)));
}

void WorkReportDialog::giveBack() {
    if (opener_) opener_->setEnabled(true);
}

void WorkReportDialog::closeEvent(QCloseEvent *event) {
    giveBack();
    QDialog::closeEvent(event);
}

void WorkReportDialog::done(int result) {
    giveBack();
    QDialog::done(result);
}

} // namespace z5
