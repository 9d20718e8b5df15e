#include "ui/HistoryWindow.h"
#include "ui/Printing.h"
#include "model/Prompts.h"
#include "trends/HistoryPlotPainter.h"
#include "trends/TrendCsv.h"
#include "trends/TrendPage.h"
#include "trends/TrendWorkbook.h"
#include "ui/HistoryPlotWidget.h"
#include "ui/WindowPlacement.h"
#include <QDateTimeEdit>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

namespace z5 {
namespace {

constexpr qint64 kFirstShownSpan = 24 * 3600;

QPushButton *button(const QString &name, const QString &text, const QString &tip, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

QDateTimeEdit *timeField(const QString &name, QWidget *parent) {
    auto *edit = new QDateTimeEdit(parent);
    edit->setObjectName(name);
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

HistoryWindow::HistoryWindow(const QString &recordPath, int station, int block, const TrendChannels &channels,
                             int group, int precision, Prompts &prompts, QWidget *owner)
    : QMainWindow(owner, Qt::Window), recordPath_(recordPath), station_(station), block_(block), channels_(channels),
      precision_(precision), prompts_(prompts) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("История U%1 %2").arg(block + 1).arg(channels.title).trimmed());
    setAttribute(Qt::WA_DeleteOnClose);

    auto *central = new QWidget(this);
    plot_ = new HistoryPlotWidget(history_, channels_, central);

    from_ = timeField(QStringLiteral("historyFrom"), central);
    to_ = timeField(QStringLiteral("historyTo"), central);
    auto *showButton = button(QStringLiteral("historyShow"), QStringLiteral("Показать"), QString(), central);
    auto *rangeRow = new QHBoxLayout;
    auto *fromLabel = new QLabel(QStringLiteral("&С"), central);
    fromLabel->setBuddy(from_);
    auto *toLabel = new QLabel(QStringLiteral("&по"), central);
    toLabel->setBuddy(to_);
    rangeRow->addWidget(fromLabel);
    rangeRow->addWidget(from_);
    rangeRow->addWidget(toLabel);
    rangeRow->addWidget(to_);
    rangeRow->addWidget(showButton);
    rangeRow->addStretch(1);
    connect(showButton, &QPushButton::clicked, this, &HistoryWindow::showChosenRange);

    auto *namesRow = new QHBoxLayout;
    namesRow->addSpacing(int(HistoryPlotPainter::kLeftMargin));
    for (int k = 0; k < 4; ++k) {
        names_[k] = new QLabel(central);
        names_[k]->setObjectName(QStringLiteral("historyName_%1").arg(k));
        names_[k]->setStyleSheet(QStringLiteral("color: %1; background: black; padding: 2px;")
                                     .arg(trendChannelColour(k).name()));
        namesRow->addWidget(names_[k], 1);
    }

    auto *back = button(QStringLiteral("historyBack"), QStringLiteral("◀"), QStringLiteral("Назад (←)"), central);
    auto *forward = button(QStringLiteral("historyForward"), QStringLiteral("▶"), QStringLiteral("Вперёд (→)"), central);
    auto *zoomIn = button(QStringLiteral("historyZoomIn"), QStringLiteral("Крупнее"), QStringLiteral("Крупнее (+)"), central);
    auto *zoomOut = button(QStringLiteral("historyZoomOut"), QStringLiteral("Мельче"), QStringLiteral("Мельче (−)"), central);
    auto *previousGroupButton = button(QStringLiteral("historyGroupDown"), QStringLiteral("-"), QStringLiteral("Графики"), central);
    auto *nextGroupButton = button(QStringLiteral("historyGroupUp"), QStringLiteral("+"), QStringLiteral("Графики"), central);
    groupLabel_ = new QLabel(central);
    groupLabel_->setObjectName(QStringLiteral("historyGroup"));
    groupLabel_->setAlignment(Qt::AlignCenter);
    groupLabel_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00")));
    auto *excel = button(QStringLiteral("historyExcel"), QStringLiteral("EXCEL"), QString(), central);
    auto *csv = button(QStringLiteral("historyCsv"), QStringLiteral("CSV"), QString(), central);
    auto *printButton = button(QStringLiteral("historyPrint"), QStringLiteral("Печать"), QString(), central);
    for (QPushButton *b : {back, forward, previousGroupButton, nextGroupButton})
        b->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 12);
    auto *controls = new QHBoxLayout;
    controls->addWidget(back);
    controls->addWidget(forward);
    controls->addWidget(zoomIn);
    controls->addWidget(zoomOut);
    controls->addSpacing(12);
    controls->addWidget(previousGroupButton);
    controls->addWidget(groupLabel_);
    controls->addWidget(nextGroupButton);
    controls->addStretch(1);
    controls->addWidget(excel);
    controls->addWidget(csv);
    controls->addWidget(printButton);
    connect(back, &QPushButton::clicked, plot_, [this] { plot_->scrollBy(-HistoryView::kScrollStep); });
    connect(forward, &QPushButton::clicked, plot_, [this] { plot_->scrollBy(HistoryView::kScrollStep); });
    connect(zoomIn, &QPushButton::clicked, plot_, &HistoryPlotWidget::zoomIn);
    connect(zoomOut, &QPushButton::clicked, plot_, &HistoryPlotWidget::zoomOut);
    connect(previousGroupButton, &QPushButton::clicked, this, &HistoryWindow::previousGroup);
    connect(nextGroupButton, &QPushButton::clicked, this, &HistoryWindow::nextGroup);
    connect(excel, &QPushButton::clicked, this, &HistoryWindow::exportWorkbook);
    connect(csv, &QPushButton::clicked, this, &HistoryWindow::exportCsv);
    connect(printButton, &QPushButton::clicked, this, &HistoryWindow::print);

    auto *layout = new QVBoxLayout(central);
    layout->addLayout(rangeRow);
    layout->addLayout(namesRow);
    layout->addWidget(plot_, 1);
    layout->addLayout(controls);
    setCentralWidget(central);
    setTabOrder(from_, to_);
    setTabOrder(to_, showButton);
    setTabOrder(showButton, plot_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("historyCursor"));
    statusBar()->addWidget(status_, 1);

    connect(plot_, &HistoryPlotWidget::shownRangeChanged, this, &HistoryWindow::showRange);
    connect(plot_, &HistoryPlotWidget::timeHovered, this, &HistoryWindow::showCursor);

    QString why;
    if (!store_.open(recordPath_, &why))
        status_->setText(QStringLiteral("Запись %1 не открыта: %2").arg(QDir::toNativeSeparators(recordPath_), why));
    reload();
    // The last day stored (or as much as there is) comes first.
    if (!history_.isEmpty()) {
        const qint64 last = history_.secondsAt(history_.rowCount() - 1);
        plot_->view().show(std::max(last - kFirstShownSpan, history_.secondsAt(0)), last);
    } else {
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        plot_->view().show(now - kFirstShownSpan, now);
    }
    showGroup(group);
    plot_->viewChanged();
    resize(sizeHint());
    if (owner) WindowPlacement::centreOn(this, owner);
    plot_->setFocus();
}

void HistoryWindow::reload() {
    history_ = store_.isOpen() ? ArchiveHistory::fromPages(store_.pages(station_, block_)) : ArchiveHistory();
    if (history_.isEmpty() && store_.isOpen())
        status_->setText(QStringLiteral("В записи нет страниц графика U%1: прочитайте архив").arg(block_ + 1));
    plot_->update();
}

ArchiveHistory HistoryWindow::shownRows() const {
    if (!store_.isOpen()) return ArchiveHistory();
    const QDateTime from = QDateTime::fromSecsSinceEpoch(plot_->view().from(), Qt::UTC);
    const QDateTime to = QDateTime::fromSecsSinceEpoch(plot_->view().to(), Qt::UTC);
    return ArchiveHistory::fromPages(store_.pages(station_, block_, from, to), from, to);
}

void HistoryWindow::showRange() {
    const HistoryView &v = plot_->view();
    const QSignalBlocker a(from_), b(to_);
    from_->setDateTime(QDateTime::fromSecsSinceEpoch(v.from(), Qt::UTC));
    to_->setDateTime(QDateTime::fromSecsSinceEpoch(v.to(), Qt::UTC));
}

void HistoryWindow::showChosenRange() {
    plot_->view().show(from_->dateTime().toSecsSinceEpoch(), to_->dateTime().toSecsSinceEpoch());
    plot_->viewChanged();
}

void HistoryWindow::showGroup(int group) {
    plot_->setGroup(group);
    groupLabel_->setText(QString::number(group + 1));
    const int first = TrendPage::firstChannelOf(group);
    for (int k = 0; k < 4; ++k) names_[k]->setText(channels_.name(first + k));
}

void HistoryWindow::nextGroup() { showGroup(TrendPage::nextGroup(plot_->group())); }

void HistoryWindow::previousGroup() { showGroup(TrendPage::previousGroup(plot_->group())); }

void HistoryWindow::showCursor(qint64 seconds) {
    if (seconds < 0 || history_.isEmpty()) {
        status_->clear();
        return;
    }
    // The row nearest the mouse, if one is within a pixel column or two of it.
    int row = history_.firstRowFrom(seconds);
    if (row >= history_.rowCount() || (row > 0 && seconds - history_.secondsAt(row - 1) < history_.secondsAt(row) - seconds))
        --row;
    const qint64 near = std::max<qint64>(plot_->view().span() / std::max(plot_->width(), 1) * 3, 10);
    if (row < 0 || std::abs(history_.secondsAt(row) - seconds) > near) {
        status_->setText(ArchiveHistory::timeText(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)) +
                         QStringLiteral("   нет записи"));
        return;
    }
    QString text = QStringLiteral("%1   стр. %2, строка %3")
                       .arg(ArchiveHistory::timeText(history_.timeAt(row)))
                       .arg(history_.pageNumberAt(row))
                       .arg(history_.pageRowAt(row) + 1);
    const int first = TrendPage::firstChannelOf(plot_->group());
    for (int c = first; c < first + TrendPage::kChannelsPerGroup; ++c) {
        const QString name = channels_.name(c).trimmed().isEmpty() ? QString::number(c + 1) : channels_.name(c).trimmed();
        text += QStringLiteral("   %1: %2").arg(name, history_.hasSample(row, c)
                                                      ? QString::number(double(history_.sample(row, c)), 'f', 3)
                                                      : QStringLiteral("нет"));
    }
    status_->setText(text);
}

QString HistoryWindow::defaultFileName(const QString &suffix) const {
    QString title = channels_.title.trimmed();
    if (title.isEmpty()) title = QStringLiteral("История");
    const QString from = QDateTime::fromSecsSinceEpoch(plot_->view().from(), Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    QString name = QStringLiteral("%1 U%2 %3.%4").arg(title).arg(block_ + 1).arg(from, suffix);
    for (QChar bad : QStringLiteral("/\\:*?\"<>|")) name.replace(bad, u'_');
    return QDir::home().filePath(name);
}

void HistoryWindow::tellWritten(const QString &path, bool written, const QString &error, const QString &caption) {
    if (!written) {
        prompts_.message(QStringLiteral("Файл не записан:\n%1\n%2").arg(QDir::toNativeSeparators(path), error), caption);
        return;
    }
    status_->setText(QStringLiteral("Записано: %1").arg(QDir::toNativeSeparators(path)));
    if (prompts_.confirm(QStringLiteral("Записано:\n%1\n\nОткрыть?").arg(QDir::toNativeSeparators(path)), caption))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void HistoryWindow::exportWorkbook() {
    const QString path = prompts_.saveFileName(QStringLiteral("EXCEL"), QStringLiteral("*.xlsx"), defaultFileName(QStringLiteral("xlsx")));
    if (path.isEmpty()) return;
    QString error;
    const bool written = TrendWorkbook::write(path, shownRows(), channels_, precision_, &error);
    tellWritten(path, written, error, QStringLiteral("EXCEL"));
}

void HistoryWindow::exportCsv() {
    const QString path = prompts_.saveFileName(QStringLiteral("CSV"), QStringLiteral("*.csv"), defaultFileName(QStringLiteral("csv")));
    if (path.isEmpty()) return;
    QString error;
    const bool written = TrendCsv::write(path, shownRows(), channels_, &error);
    tellWritten(path, written, error, QStringLiteral("CSV"));
}

bool HistoryWindow::printTo(QPrinter &printer) {
    return Printing::paintOn(printer, prompts_, [&](QPainter &painter, QPrinter &) {
        const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution()).translated(
            -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
        // Drawn at screen size and scaled to the page, so lines and labels keep their proportions.
        const QSizeF drawn(1000, 620);
        const double scale = std::min(page.width() / drawn.width(), page.height() / drawn.height());
        painter.scale(scale, scale);
        QFont font = painter.font();
        font.setPointSizeF(10);
        painter.setFont(font);
        const int first = TrendPage::firstChannelOf(plot_->group());
        QString heading = QStringLiteral("%1   %2 — %3   ")
                              .arg(channels_.title,
                                   ArchiveHistory::timeText(QDateTime::fromSecsSinceEpoch(plot_->view().from(), Qt::UTC)),
                                   ArchiveHistory::timeText(QDateTime::fromSecsSinceEpoch(plot_->view().to(), Qt::UTC)));
        painter.drawText(QPointF(0, 16), heading);
        double x = 0;
        for (int k = 0; k < 4; ++k) {
            painter.setPen(trendChannelColour(first + k));
            const QString name = channels_.name(first + k).trimmed().isEmpty() ? QString::number(first + k + 1)
                                                                                : channels_.name(first + k).trimmed();
            painter.drawText(QPointF(x, 36), name);
            x += 250;
        }
        const ArchiveHistory rows = shownRows();
        HistoryPlotPainter::draw(painter, QRectF(0, 44, drawn.width(), drawn.height() - 44), rows, plot_->view(),
                                 plot_->group(), channels_);
    });
}

void HistoryWindow::print() {
    Printing::preview(this, [this](QPrinter &printer) { printTo(printer); });
}

} // namespace z5
