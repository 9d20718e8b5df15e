#include "ui/TrendWindow.h"
#include "ui/Printing.h"
#include "link/LineReply.h"
#include "model/Prompts.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCursor.h"
#include "trends/TrendPrintout.h"
#include "trends/TrendWorkbook.h"
#include "record/RecordPlace.h"
#include "link/LineSession.h"
#include "ui/ArchiveReadDialog.h"
#include "ui/HistoryWindow.h"
#include "ui/TrendPageDialog.h"
#include "ui/TrendPlotWidget.h"
#include "ui/WindowPlacement.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace z5 {
namespace {

QPushButton *button(const QString &name, const QString &text, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QGroupBox *frame(const QString &title, QWidget *parent) {
    auto *box = new QGroupBox(title, parent);
    return box;
}

} // namespace

TrendWindow::TrendWindow(TrendSession &session, Prompts &prompts, int block, QWidget *console)
    : QMainWindow(nullptr), session_(session), sessionAlive_(&session), prompts_(prompts), console_(console),
      block_(block) {
    setObjectName(QStringLiteral("GRAFIK"));
    setWindowTitle(QStringLiteral("ГРАФИК"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *central = new QWidget(this);
    plot_ = new TrendPlotWidget(session_, central);
    connect(plot_, &TrendPlotWidget::rowHovered, this, &TrendWindow::showCursor);

    auto *namesRow = new QHBoxLayout;
    namesRow->addSpacing(TrendPlotWidget::kLabelWidth);
    for (int k = 0; k < 4; ++k) {
        names_[k] = new QLabel(central);
        names_[k]->setObjectName(QStringLiteral("Name_GRAFIK_%1").arg(k));
        names_[k]->setStyleSheet(QStringLiteral("color: %1; background: black; padding: 2px;")
                                     .arg(trendChannelColour(k).name()));
        namesRow->addWidget(names_[k], 1);
    }

    auto *groups = frame(QStringLiteral("Графики"), central);
    auto *groupsLayout = new QHBoxLayout(groups);
    auto *nextGroupButton = button(QStringLiteral("Command1"), QStringLiteral("+"), groups);
    auto *previousGroupButton = button(QStringLiteral("Command2"), QStringLiteral("-"), groups);
    groupLabel_ = new QLabel(groups);
    groupLabel_->setObjectName(QStringLiteral("Label_N_GRAF"));
    groupLabel_->setAlignment(Qt::AlignCenter);
    groupsLayout->addWidget(previousGroupButton);
    groupsLayout->addWidget(groupLabel_);
    groupsLayout->addWidget(nextGroupButton);
    connect(nextGroupButton, &QPushButton::clicked, this, &TrendWindow::nextGroup);
    connect(previousGroupButton, &QPushButton::clicked, this, &TrendWindow::previousGroup);

    auto *pages = frame(QStringLiteral("Страница"), central);
    auto *pagesLayout = new QGridLayout(pages);
    auto *nextPageButton = button(QStringLiteral("Command3"), QStringLiteral("+"), pages);
    auto *previousPageButton = button(QStringLiteral("Command4"), QStringLiteral("-"), pages);
    pageLabel_ = new QLabel(pages);
    pageLabel_->setObjectName(QStringLiteral("sheet_GRAFIK"));
    pageLabel_->setAlignment(Qt::AlignCenter);
    auto *pageDialogButton = new QToolButton(pages);
    pageDialogButton->setObjectName(QStringLiteral("Image2"));
    pageDialogButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    pageDialogButton->setToolTip(QStringLiteral("Страница ГРАФИКА"));
    pagesLayout->addWidget(previousPageButton, 0, 0);
    pagesLayout->addWidget(pageLabel_, 0, 1);
    pagesLayout->addWidget(nextPageButton, 0, 2);
    pagesLayout->addWidget(pageDialogButton, 1, 1, Qt::AlignCenter);
    connect(nextPageButton, &QPushButton::clicked, this, &TrendWindow::nextPage);
    connect(previousPageButton, &QPushButton::clicked, this, &TrendWindow::previousPage);
    connect(pageDialogButton, &QToolButton::clicked, this, &TrendWindow::openPageDialog);

    auto *control = frame(QStringLiteral("Управление"), central);
    auto *controlLayout = new QHBoxLayout(control);
    auto *startButton = button(QStringLiteral("Command5"), QStringLiteral("ПУСК"), control);
    auto *stopButton = button(QStringLiteral("Command6"), QStringLiteral("СТОП"), control);
    controlLayout->addWidget(startButton);
    controlLayout->addWidget(stopButton);
    connect(startButton, &QPushButton::clicked, this, &TrendWindow::startRecording);
    connect(stopButton, &QPushButton::clicked, this, &TrendWindow::stopRecording);

    auto *archive = frame(QStringLiteral("Архив"), central);
    auto *archiveLayout = new QHBoxLayout(archive);
    precision_ = new QComboBox(archive);
    precision_->setObjectName(QStringLiteral("Tochnost_EXCEL"));
    precision_->addItems({QStringLiteral("1"), QStringLiteral("0,1"), QStringLiteral("0,01"), QStringLiteral("0,001")});
    precision_->setCurrentIndex(session_.precision());
    connect(precision_, &QComboBox::currentIndexChanged, this, [this](int i) { session_.setPrecision(i); });
    auto *exportButton = button(QStringLiteral("Command_EXCEL"), QStringLiteral("EXCEL"), archive);
    auto *archiveGrid = new QGridLayout;
    archiveGrid->addWidget(precision_, 0, 0);
    archiveGrid->addWidget(exportButton, 0, 1);
    archiveReadButton_ = button(QStringLiteral("archiveRead"), QStringLiteral("Читать архив"), archive);
    archiveReadButton_->setEnabled(false);
    auto *historyButton = button(QStringLiteral("historyOpen"), QStringLiteral("История"), archive);
    archiveGrid->addWidget(archiveReadButton_, 1, 0, 1, 2);
    archiveGrid->addWidget(historyButton, 2, 0, 1, 2);
    archiveLayout->addLayout(archiveGrid);
    connect(exportButton, &QPushButton::clicked, this, &TrendWindow::exportWorkbook);
    connect(archiveReadButton_, &QPushButton::clicked, this, &TrendWindow::openArchiveRead);
    connect(historyButton, &QPushButton::clicked, this, &TrendWindow::openHistory);

    auto *report = frame(QStringLiteral("Отчет"), central);
    auto *reportLayout = new QHBoxLayout(report);
    auto *printButton = button(QStringLiteral("PRINT_1"), QStringLiteral("Печать"), report);
    reportLayout->addWidget(printButton);
    connect(printButton, &QPushButton::clicked, this, &TrendWindow::print);

    auto *side = new QVBoxLayout;
    for (QGroupBox *box : {groups, pages, control, archive, report}) side->addWidget(box);
    side->addStretch(1);

    auto *left = new QVBoxLayout;
    left->addLayout(namesRow);
    left->addWidget(plot_, 1);
    auto *layout = new QHBoxLayout(central);
    layout->addLayout(left, 1);
    layout->addLayout(side);
    setCentralWidget(central);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblCursor"));
    statusBar()->addWidget(status_, 1);

    connect(&session_, &TrendSession::readEnded, this, &TrendWindow::onReadEnded);
    // An adapter pulled out during a read: said once; the read goes on by itself once it is back.
    session_.setGoesOnWhenAdapterReturns(true);
    connect(&session_, &TrendSession::readInterrupted, this, [this] {
        setEnabled(true);
        status_->setText(QStringLiteral("Нет сети: чтение страницы продолжится, когда адаптер будет подключён"));
        prompts_.message(session_.lastFailureText(), QString(), Prompts::Kind::Error);
    });
    connect(&session_, &TrendSession::readProgress, this, [this](int in, int all) {
        status_->setText(QStringLiteral("Чтение страницы: %1 из %2").arg(in).arg(all));
    });
    showChannelNames();
    groupLabel_->setText(QString::number(session_.group() + 1));
    if (session_.hasPage()) showPage();
    resize(sizeHint());
}

TrendWindow::~TrendWindow() {
    // The archive read and the history go with the window they were opened from.
    delete archiveRead_;
    delete history_;
    if (!sessionAlive_) return;
    sessionAlive_->cancel();
    sessionAlive_->setGoesOnWhenAdapterReturns(false);
}

void TrendWindow::setArchiveAccess(Clock &clock, LineSession &line, const QString &recordPath) {
    archiveClock_ = &clock;
    archiveLine_ = &line;
    recordPath_ = recordPath;
    archiveReadButton_->setEnabled(true);
}

QString TrendWindow::recordPath() const { return stationRecordPathToWrite(recordPath_); }

ArchiveReadDialog *TrendWindow::archiveReadDialog() const { return archiveRead_; }

HistoryWindow *TrendWindow::historyWindow() const { return history_; }

void TrendWindow::openArchiveRead() {
    if (!archiveClock_ || !archiveLine_) return;
    if (archiveRead_) {
        archiveRead_->raise();
        archiveRead_->activateWindow();
        return;
    }
    archiveRead_ = new ArchiveReadDialog(*archiveClock_, *archiveLine_, recordPath(), archiveLine_->settings().station,
                                         block_, nullptr);
    WindowPlacement::centreOn(archiveRead_, this);
    // A history open meanwhile takes in each page as it is stored.
    connect(archiveRead_, &ArchiveReadDialog::pagesStored, this, [this] {
        if (history_) history_->reload();
    });
    archiveRead_->show();
}

void TrendWindow::openHistory() {
    if (history_) {
        history_->raise();
        history_->activateWindow();
        return;
    }
    const int station = archiveLine_ ? archiveLine_->settings().station : 1;
    history_ = new HistoryWindow(recordPath(), station, block_, session_.channels(), session_.group(),
                                 session_.precision(), prompts_, nullptr);
    WindowPlacement::centreOn(history_, this);
    history_->show();
}

void TrendWindow::closeEvent(QCloseEvent *event) {
    if (archiveRead_) archiveRead_->close();
    if (history_) history_->close();
    session_.cancel();
    if (console_) console_->setEnabled(true);
    QMainWindow::closeEvent(event);
}

void TrendWindow::readCurrentPage() { startRead(TrendSession::kCurrentPage); }

void TrendWindow::startRead(int page) {
    setEnabled(false);
    showChannelNames();
    session_.setBlock(block_);
    session_.readPage(page);
}

void TrendWindow::onReadEnded(LineOutcome outcome) {
    setEnabled(true);
    switch (outcome) {
    case LineOutcome::Reply:
        showPage();
        status_->setText(QStringLiteral("Страница %1 прочитана").arg(session_.page().pageNumber));
        break;
    case LineOutcome::NoNetwork:
    case LineOutcome::NotDrained:
    case LineOutcome::NoReply:
    case LineOutcome::WrongCheckValue: {
        const bool noNetwork = outcome == LineOutcome::NoNetwork || outcome == LineOutcome::NotDrained;
        status_->setText(session_.lastFailureText().section(u'\n', 0, 0));
        // The same icon as the console's boxes for the same failure.
        prompts_.message(session_.lastFailureText(), QString(), noNetwork ? Prompts::Kind::Error : Prompts::Kind::Warning);
        // Never shown without a page: the console comes back at once.
        if (!isVisible()) close();
        break;
    }
    case LineOutcome::Cancelled:
        // The line owner gave the read up: nothing to tell, and never left without a page.
        status_->clear();
        if (!isVisible()) close();
        break;
    }
}

void TrendWindow::showPage() {
    // The window appears with its first complete page, centred on the console.
    if (!isVisible()) {
        WindowPlacement::centreOn(this, console_);
        show();
    }
    setWindowTitle(QStringLiteral("ГРАФИК ") + session_.channels().title);
    pageLabel_->setText(QString::number(session_.page().pageNumber));
    groupLabel_->setText(QString::number(session_.group() + 1));
    showChannelNames();
    plot_->update();
}

void TrendWindow::showChannelNames() {
    const int first = TrendPage::firstChannelOf(session_.group());
    for (int k = 0; k < 4; ++k) names_[k]->setText(session_.channels().name(first + k));
}

void TrendWindow::showCursor(int row) {
    status_->setText(row < 0 ? QString()
                             : TrendCursor::readout(session_.page(), session_.group(), session_.channels(), row));
}

void TrendWindow::nextGroup() {
    session_.nextGroup();
    groupLabel_->setText(QString::number(session_.group() + 1));
    showChannelNames();
    plot_->update();
}

void TrendWindow::previousGroup() {
    session_.previousGroup();
    groupLabel_->setText(QString::number(session_.group() + 1));
    showChannelNames();
    plot_->update();
}

int TrendWindow::shownPageNumber() const {
    // A failed read leaves the page shown before it: paging steps from that one.
    return session_.hasPage() ? session_.page().pageNumber : session_.pageNumber();
}

void TrendWindow::nextPage() { startRead(clampPageNumber(shownPageNumber() + 1)); }

void TrendWindow::previousPage() { startRead(clampPageNumber(shownPageNumber() - 1)); }

void TrendWindow::openPageDialog() {
    auto *dialog = new TrendPageDialog(shownPageNumber(), this, [this](int page) { startRead(page); });
    dialog->show();
}

void TrendWindow::startRecording() {
    if (prompts_.confirm(QStringLiteral("Запустить график ?"), QStringLiteral("ПУСК"))) setRecording(true);
}

void TrendWindow::stopRecording() {
    if (prompts_.confirm(QStringLiteral("Остановить график ?"), QStringLiteral("СТОП"))) setRecording(false);
}

void TrendWindow::setRecording(bool start) {
    session_.setBlock(block_);
    // The frame waits its turn behind a read; its end is told once its bytes have left.
    const std::shared_ptr<LineReply> reply = session_.setRecording(start);
    QPointer<TrendWindow> self(this);
    const auto told = [self, start](const LineReply &r) {
        if (!self) return;
        if (r.outcome() == LineOutcome::Reply) {
            self->status_->setText(start ? QStringLiteral("Запись графика запущена")
                                         : QStringLiteral("Запись графика остановлена"));
            return;
        }
        self->prompts_.message(TrendSession::noNetworkText(r.failure()), QString(), Prompts::Kind::Error);
    };
    if (reply->isFinished()) {
        told(*reply);
        return;
    }
    const LineReply *raw = reply.get();
    connect(raw, &LineReply::finished, this, [raw, told] { told(*raw); });
}

QString TrendWindow::defaultWorkbookName() const {
    QString title = session_.channels().title.trimmed();
    if (title.isEmpty()) title = QStringLiteral("ГРАФИК");
    const auto &t = session_.page().time;
    QString name = QStringLiteral("%1 %2-%3-%4.xlsx").arg(title).arg(t[0]).arg(t[1]).arg(t[2]);
    for (QChar bad : QStringLiteral("/\\:*?\"<>|")) name.replace(bad, u'_');
    return QDir::home().filePath(name);
}

void TrendWindow::exportWorkbook() {
    const QString path = prompts_.saveFileName(QStringLiteral("EXCEL"), QStringLiteral("*.xlsx"), defaultWorkbookName());
    if (path.isEmpty()) return;
    QString error;
    if (!TrendWorkbook::write(path, session_.page(), session_.channels(), session_.precision(), &error)) {
        prompts_.message(QStringLiteral("Книга не записана:\n%1\n%2").arg(QDir::toNativeSeparators(path), error),
                         QStringLiteral("EXCEL"));
        return;
    }
    status_->setText(QStringLiteral("Книга записана: %1").arg(QDir::toNativeSeparators(path)));
    if (prompts_.confirm(QStringLiteral("Книга записана:\n%1\n\nОткрыть её?").arg(QDir::toNativeSeparators(path)),
                         QStringLiteral("EXCEL")))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool TrendWindow::printTo(QPrinter &printer) {
    return Printing::paintOn(printer, prompts_, [&](QPainter &painter, QPrinter &) {
        TrendPrintout::paint(painter, printer, session_.page(), session_.group(), session_.channels());
    });
}

void TrendWindow::print() {
    Printing::preview(this, [this](QPrinter &printer) { printTo(printer); });
}

} // namespace z5
