#include "ui/ConsoleWindow.h"
#include "console/BlockSelection.h"
#include "import/ConsoleLayout.h"
#include "model/BlockCatalogue.h"
#include "model/Clock.h"
#include "parfile/ParameterFileCommands.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleGeometry.h"
#include "ui/ConsoleIcon.h"
#include "ui/ConsoleParameterView.h"
#include "ui/LiveViewPane.h"
#include "ui/Session.h"
#include "ui/PortStatusText.h"
#include "ui/StationDialog.h"
#include "ui/TrafficWindow.h"
#include "ui/WindowPlacement.h"
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusBar>
#include "trends/TrendChannels.h"
#include "ui/TrendWindow.h"

namespace z5 {
namespace {

// The window's client area and the places of its parts, in twips.
constexpr int kClientWidth = twips::kPanelLeft + twips::kPanelWidth + 50;
constexpr int kClientHeight = 8700;
using twips::kPanelLeft;
// Below the numbering choice and the heading that names the block.
constexpr int kPanelTop = 900;

// The first line of a failure's reason, as the status line says it: "Нет сети".
QString failureStatus(const QString &reason) {
    QString first = reason.section(u'\n', 0, 0).trimmed();
    while (first.endsWith(u'!')) first.chop(1);
    return first.isEmpty() ? QStringLiteral("Нет сети") : first;
}

QChar decimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

} // namespace

ConsoleWindow::ConsoleWindow(Session &session, QWidget *mainWindow)
    : session_(session),
      mainWindow_(mainWindow),
      progress_(session.clock),
      panel_(session.store, session.project, state_),
      exchange_(session.line, session.prompts, state_, progress_),
      writes_(session.chain, session.setpointWrite, progress_),
      live_(session.project, session.store, panel_, ParameterCatalogue::standard()),
      refresh_(session.clock),
      ageTimer_(session.clock.createTimer()),
      importCommand_(session.netlistImport, session.prompts),
      cursorTimer_(session.clock.createTimer()),
      priorityTimer_(session.clock.createTimer()) {
    setObjectName(QStringLiteral("BLOKI"));
    setWindowTitle(QStringLiteral("Настройка функциональных блоков"));

    // The grid and the panel keep their twip places inside a scroll area, so that
    // the console can shrink to a small screen with everything reachable.
    canvas_ = new ConsoleCanvas(nullptr);
    canvas_->setFixedSize(twips::px(kClientWidth), twips::px(kClientHeight));
    setCentralWidget(WindowPlacement::scrolling(canvas_, this));
    connect(canvas_, &ConsoleCanvas::iconPressed, this, &ConsoleWindow::iconPressed);
    connect(canvas_, &ConsoleCanvas::processPictureClicked, this, &ConsoleWindow::processPictureClicked);

    auto *label4 = new QLabel(QStringLiteral("№ экземпляра"), canvas_);
    label4->setObjectName(QStringLiteral("Label4"));
    label4->setGeometry(twips::rect(kPanelLeft, 120, 1700, 300));
    numbering_ = new QComboBox(canvas_);
    numbering_->setObjectName(QStringLiteral("Combo_EXZ_AUTO_HAND"));
    numbering_->addItems({numberingName(Numbering::Manual), numberingName(Numbering::Auto)});
    numbering_->setGeometry(twips::rect(kPanelLeft + 1800, 80, 1700, 330));

    view_ = new ConsoleParameterView(panel_, canvas_);
    // The rows and, below them, the line naming fields that are not stored.
    view_->setGeometry(twips::rect(kPanelLeft, kPanelTop, twips::kPanelWidth, 7350));
    buildLiveView();
    liveView_->move(twips::px(QPoint(kPanelLeft, kPanelTop)));
    heading_->setGeometry(twips::rect(kPanelLeft, 500, 1900, 330));

    progressBar_ = new QProgressBar(canvas_);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, ConsoleProgress::kMaximum);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setGeometry(twips::rect(200, kClientHeight - 380, kClientWidth - 400, 250));
    connect(&progress_, &ConsoleProgress::changed, progressBar_, &QProgressBar::setValue);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblReplyStatus"));
    statusBar()->addWidget(status_, 1);
    portStatus_ = new QLabel(this);
    portStatus_->setObjectName(QStringLiteral("lblPort"));
    statusBar()->addPermanentWidget(portStatus_);
    showPortStatus();

    buildMenus();

    connect(&exchange_, &ConsoleExchange::ended, this,
            [this](ConsoleExchange::Request q, ConsoleExchange::Result r) { exchangeEnded(q, r); });
    connect(&exchange_, &ConsoleExchange::blockReplyReceived, this, &ConsoleWindow::showBlockReply);
    connect(&exchange_, &ConsoleExchange::processPictureChanged, this, [this](ConsoleExchange::ProcessPicture p) {
        canvas_->showProcessPicture(p == ConsoleExchange::ProcessPicture::Pause);
    });
    connect(&session_.line, &LineSession::writeEnded, this, [this](bool succeeded, const QString &reason) {
        if (!writes_.isRunning()) return;
        writeSucceeded_ = succeeded;
        writeFailure_ = succeeded ? QString() : reason;
    });
    connect(&writes_, &ConsoleWrites::ended, this, [this] {
        setEnabled(true);
        if (writeSucceeded_) {
            // The bar goes on counting to its end, as it always has.
            status_->setText(QStringLiteral("Запись в Z5 закончена"));
            return;
        }
        // A write cut short leaves no part-filled bar behind.
        progress_.stop();
        progress_.setValue(0);
        status_->setText(failureStatus(writeFailure_));
    });
    connect(&writes_, &ConsoleWrites::setpointsEnabledChanged, this, [this](bool on) { setpointAction_->setEnabled(on); });

    cursorTimer_->setOnTimeout([this] { canvas_->toggleCursor(); });
    priorityTimer_->setOnTimeout([this] { printPriorityLabels(); });
    // The "00" heading is printed once at start, before any import.
    priorityTimer_->start(kPriorityLabelsDelayMs);
    WindowPlacement::restore(this, QStringLiteral("console"),
                             canvas_->size() + QSize(WindowPlacement::scrollBarRoom(this), menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
}

void ConsoleWindow::showPortStatus() { portStatus_->setText(portStatusText(session_.line)); }

ConsoleWindow::~ConsoleWindow() {
    // The trend window works on the session, which may go with the console.
    delete trendWindow_;
}

QAction *ConsoleWindow::addCommand(QMenu *menu, const char *objectName, const QString &caption,
                                   void (ConsoleWindow::*slot)()) {
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(objectName));
    connect(a, &QAction::triggered, this, slot);
    return a;
}

void ConsoleWindow::buildMenus() {
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, "mnuLOADParametrBLOCK", QStringLiteral("&Загрузить схему P-CAD ASCII"),
               &ConsoleWindow::importNetlist);
    addCommand(file, "mnuLOADparametr", QStringLiteral("&Загрузить параметры"), &ConsoleWindow::loadParameters);
    addCommand(file, "mnuSAVEparametr", QStringLiteral("&Сохранить параметры"), &ConsoleWindow::saveParameters);
    file->addSeparator();
    addCommand(file, "mnuEXIT", QStringLiteral("&Выход"), &ConsoleWindow::closeConsole);

    QMenu *net = menuBar()->addMenu(QStringLiteral("&Сеть"));
    net->setObjectName(QStringLiteral("mnu_Net"));
    addCommand(net, "mnu_NUM_Z5", QStringLiteral("&Номер Z5"), &ConsoleWindow::chooseStation);
    net->addSeparator();
    QAction *monitor = net->addAction(QStringLiteral("&Монитор обмена"));
    monitor->setObjectName(QStringLiteral("mnuTrafficMonitor"));
    connect(monitor, &QAction::triggered, this, [this] {
        QWidget *owner = mainWindow_ ? mainWindow_.data() : static_cast<QWidget *>(this);
        TrafficWindow::open(session_.line.traffic(), session_.prompts, owner);
    });

    QMenu *controller = menuBar()->addMenu(QStringLiteral("&Контроллер"));
    controller->setObjectName(QStringLiteral("mnuCONTROLLER"));
    addCommand(controller, "mnuSAVE_485", QStringLiteral("&Записать схему в Z5"), &ConsoleWindow::downloadSchema);
    addCommand(controller, "mnuSAVE_SCHEMA_Z5", QStringLiteral("&Сохранить схему в Z5"),
               &ConsoleWindow::storeSchema);
    setpointAction_ = addCommand(controller, "mnuSAVE_ZADATCIKI", QStringLiteral("&Записать задатчики в Z5"),
                                 &ConsoleWindow::writeSetpoints);
    setpointAction_->setEnabled(false);
    addCommand(controller, "mnuPAUSE_PROCESS", QStringLiteral("&Пауза процесса Z5"), &ConsoleWindow::pauseProcess);
    addCommand(controller, "mnuSTART_PROCESS", QStringLiteral("&Пуск процесса Z5"), &ConsoleWindow::startProcess);
}

QAction *ConsoleWindow::action(const QString &objectName) const { return findChild<QAction *>(objectName); }

void ConsoleWindow::showInPlaceOfMainWindow() {
    if (mainWindow_) {
        // Shown again where it was, whichever way the console is left.
        mainWindowPlace_ = mainWindow_->saveGeometry();
        mainWindow_->hide();
    }
    showPortStatus();
    canvas_->printSlotNumbers(true);
    show();
    raise();
    activateWindow();
}

void ConsoleWindow::importNetlist() {
    if (deferDuringAutoRead([this] { importNetlist(); })) return;
    const auto mode = static_cast<Numbering>(numbering_->currentIndex() == 1 ? 1 : 0);
    // The new project is built aside: a netlist that fails leaves the project,
    // its icons, the panel and the selection exactly as they were.
    const ImportResult result = importCommand_.run(mode);
    if (!result.ok) return;
    canvas_->clearDrawing();
    canvas_->printSlotNumbers(false);
    session_.project = result.project;
    // The selection belonged to the project that was just replaced.
    hideCursor();
    turnRefreshOff(QString());
    live_.clear();
    hideLiveView();
    heading_->clear();
    panel_.hideRows();
    view_->refresh();
    canvas_->placeIcons(result.layout);
    exchange_.showPausePicture();
    priorityTimer_->start(kPriorityLabelsDelayMs);
    status_->setText(QStringLiteral("Блоков в схеме: %1").arg(result.project.blockCount()));
}

void ConsoleWindow::printPriorityLabels() {
    priorityTimer_->stop();
    std::vector<ConsoleCanvas::Label> labels;
    labels.push_back({ConsoleLayout::priorityHeadingText(), ConsoleLayout::priorityHeadingPosition()});
    const ConsoleLayout layout = ConsoleLayout::fromProject(session_.project);
    for (const ConsoleLayout::BlockIcon &b : layout.icons()) labels.push_back({b.priorityText, b.priorityPosition});
    canvas_->printPriorityLabels(std::move(labels));
}

void ConsoleWindow::loadParameters() {
    ParameterFileCommands files(session_.store, session_.prompts, decimalSeparator());
    if (!files.loadParameters()) return;
    // The panel would otherwise store its old texts over the loaded values.
    panel_.reload();
    view_->refresh();
}

void ConsoleWindow::saveParameters() {
    ParameterFileCommands files(session_.store, session_.prompts, decimalSeparator());
    files.saveParameters();
}

void ConsoleWindow::closeConsole() {
    turnRefreshOff(QString());
    hide();
    giveBackMainWindow();
}

void ConsoleWindow::giveBackMainWindow() {
    WindowPlacement::save(this, QStringLiteral("console"));
    if (!mainWindow_) return;
    if (!mainWindowPlace_.isEmpty()) mainWindow_->restoreGeometry(mainWindowPlace_);
    mainWindow_->show();
}

void ConsoleWindow::closeEvent(QCloseEvent *event) {
    turnRefreshOff(QString());
    if (exchange_.running() != ConsoleExchange::Request::None) exchange_.cancel();
    giveBackMainWindow();
    event->accept();
}

void ConsoleWindow::changeEvent(QEvent *event) {
    // Every activation brings the numbering back to manual.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) numbering_->setCurrentIndex(0);
    QMainWindow::changeEvent(event);
}

void ConsoleWindow::chooseStation() {
    // The dialog disables this window and gives it back when it closes.
    auto *dialog = new StationDialog(session_.line.settings(), this);
    connect(dialog->stationList(), &QListWidget::itemClicked, this, &ConsoleWindow::showPortStatus);
    dialog->show();
}

bool ConsoleWindow::exchangeUnderWay() const {
    return exchange_.running() != ConsoleExchange::Request::None || writes_.isRunning() || session_.line.isBusy();
}

void ConsoleWindow::hideCursor() {
    cursorTimer_->stop();
    canvas_->setCursorVisible(false);
}

void ConsoleWindow::placeCursor(const QPoint &iconCorner) {
    canvas_->placeCursor(iconCorner);
    cursorTimer_->start(kCursorBlinkMs);
}

void ConsoleWindow::hideLiveView() { liveView_->hideAll(); }

void ConsoleWindow::showValueTable() {
    liveView_->showTable();
    liveView_->raise();
}

void ConsoleWindow::iconPressed(int iconNumber, Qt::MouseButton button) {
    if (deferDuringAutoRead([=] { iconPressed(iconNumber, button); })) return;
    if (!isEnabled() || exchangeUnderWay()) return;
    const ConsoleIcon *icon = canvas_->icon(iconNumber);
    const auto type = BlockSelection::typeOfIcon(iconNumber);
    if (!icon || !type) return;
    const QPoint corner = icon->cornerTwips();
    const auto column = BlockSelection::columnAt(corner.x(), corner.y());
    if (!column) return;

    const bool right = button == Qt::RightButton;
    view_->setHeadingsVisible(button != Qt::LeftButton);
    state_.selectedColumn = static_cast<std::uint8_t>(*column);
    state_.selectedType = static_cast<std::uint8_t>(*type);
    // A right click ends the live view: the refresh goes off; a left click only pauses it.
    if (right) turnRefreshOff(QString());
    else refresh_.stop();
    heading_->setText(LiveView::headingOf(session_.project, *column));

    if (right) {
        hideLiveView();
        panel_.layOutForSelectedBlock();
        view_->refresh();
        // Tab starts at the top of the panel just laid out, not at a field of the last one.
        if (QWidget *first = view_->firstField()) first->setFocus(Qt::OtherFocusReason);
        placeCursor(corner);
        return;
    }

    panel_.hideRows();
    view_->refresh();
    setEnabled(false);
    const LiveView::Shows shows = live_.beginRead(*column, *type);
    refresh_.forget();
    if (*type == BlockType::GRA) {
        hideLiveView();
        placeCursor(corner);
        openTrendWindow(*column);
        return;
    } else {
        writes_.disableSetpoints();
        if (*type == BlockType::S_P) {
            writes_.enableSetpoints(*column);
            hideLiveView();
            view_->setHeadingsVisible(true);
            panel_.layOutForSelectedBlock();
            view_->refresh();
        } else if (shows == LiveView::Shows::Panel) {
            liveView_->showPanel(live_.read().layout, live_.panelCaption(), live_.channelNames());
            liveView_->setSwitches(live_.switchOn());
            liveView_->raise();
        } else {
            showValueTable();
        }
    }
    status_->setText(QStringLiteral("Запрос блока U%1…").arg(*column + 1));
    if (!exchange_.startBlockRead()) {
        // "Нет сети!!!" has been shown; the cursor stays where it was.
        status_->setText(QStringLiteral("Нет сети"));
        setEnabled(true);
        return;
    }
    placeCursor(corner);
}

void ConsoleWindow::exchangeEnded(ConsoleExchange::Request request, ConsoleExchange::Result result) {
    using Q = ConsoleExchange::Request;
    using R = ConsoleExchange::Result;
    setEnabled(true);
    const QString block = QStringLiteral("U%1").arg(state_.selectedColumn + 1);
    QString text;
    switch (result) {
    case R::Reply:
        text = request == Q::TrendPage        ? QStringLiteral("Страница графика прочитана")
               : request == Q::ProcessCommand ? QStringLiteral("Ответ Z5 получен")
                                              : QStringLiteral("Ответ блока %1 получен").arg(block);
        // The next automatic read, if the user asked for them.
        if (request == Q::BlockRead || request == Q::PanelKey) {
            refresh_.valuesShown();
            showValueAge();
        }
        break;
    case R::WrongCheckValue: text = QStringLiteral("Ответ отброшен: неверная контрольная сумма"); break;
    case R::NoReply: text = QStringLiteral("Нет ответа от Z5"); break;
    case R::NoNetwork: text = QStringLiteral("Нет сети"); break;
    case R::Cancelled: break;
    }
    if (result != R::Reply) turnRefreshOff(QString());   // the status line says why
    // The bar describes the exchange that just ended.
    progress_.stop();
    progress_.setValue(0);
    status_->setText(text);
    runDeferredAction();
}

void ConsoleWindow::openTrendWindow(int column) {
    // The console stays disabled while the trend window is open; closing it gives
    // the console back. The window keeps the block it was opened for.
    session_.trends.setChannels(TrendChannels::fromStore(session_.store));
    trendWindow_ = new TrendWindow(session_.trends, session_.prompts, column, this);
    // The console's status line follows the trend window's reads while it is
    // open and is cleared with it, so it never says a page is still being read.
    // A window that never showed a page leaves the reason its read failed.
    auto clearOnClose = std::make_shared<QMetaObject::Connection>(
        connect(trendWindow_, &QObject::destroyed, status_, &QLabel::clear));
    connect(&session_.trends, &TrendSession::readEnded, trendWindow_, [this, column, clearOnClose](LineOutcome outcome) {
        switch (outcome) {
        case LineOutcome::Reply: status_->setText(QStringLiteral("Страница графика U%1 прочитана").arg(column + 1)); break;
        case LineOutcome::NoReply:
        case LineOutcome::WrongCheckValue: status_->setText(QStringLiteral("Нет ответа от Z5")); break;
        case LineOutcome::NoNetwork:
        case LineOutcome::NotDrained: status_->setText(QStringLiteral("Нет сети")); break;
        case LineOutcome::Cancelled: status_->clear(); break;
        }
        if (outcome != LineOutcome::Reply && trendWindow_ && !trendWindow_->isVisible()) disconnect(*clearOnClose);
    });
    // It shows itself with the page once complete, or closes after a failed read.
    status_->setText(QStringLiteral("Чтение страницы графика U%1…").arg(column + 1));
    trendWindow_->readCurrentPage();
}

void ConsoleWindow::tidyForProcessCommand() {
    writes_.disableSetpoints();
    hideLiveView();
    heading_->clear();
    view_->setHeadingsVisible(false);
    panel_.hideRows();
    view_->refresh();
}

void ConsoleWindow::startProcessCommand(z5::Request::CommandCode code) {
    turnRefreshOff(QString());
    if (!exchange_.startProcessCommand(code)) {
        // Whatever the line said before no longer holds.
        status_->setText(QStringLiteral("Нет сети"));
        return;
    }
    setEnabled(false);
    status_->setText(QStringLiteral("Команда Z5 отправлена"));
}

void ConsoleWindow::pauseProcess() {
    if (deferDuringAutoRead([this] { pauseProcess(); })) return;
    if (exchangeUnderWay()) return;
    tidyForProcessCommand();
    startProcessCommand(z5::Request::PauseProcess);
}

void ConsoleWindow::startProcess() {
    if (deferDuringAutoRead([this] { startProcess(); })) return;
    if (exchangeUnderWay()) return;
    tidyForProcessCommand();
    startProcessCommand(z5::Request::StartProcess);
}

void ConsoleWindow::processPictureClicked() {
    if (deferDuringAutoRead([this] { processPictureClicked(); })) return;
    if (!isEnabled() || exchangeUnderWay()) return;
    tidyForProcessCommand();
    startProcessCommand(z5::Request::ProcessPicture);
}

void ConsoleWindow::storeSchema() {
    if (deferDuringAutoRead([this] { storeSchema(); })) return;
    if (exchangeUnderWay()) return;
    writes_.disableSetpoints();
    startProcessCommand(z5::Request::StoreSchema);
}

void ConsoleWindow::downloadSchema() {
    if (deferDuringAutoRead([this] { downloadSchema(); })) return;
    if (exchangeUnderWay()) return;
    turnRefreshOff(QString());
    // An empty configuration would wipe the program a working controller runs.
    if (session_.project.isEmpty() && !session_.prompts.confirm(emptyDownloadQuestion())) return;
    writeSucceeded_ = true;
    writeFailure_.clear();
    if (!writes_.startDownload()) {
        // Refused before anything was sent: the box said why, the status line does too.
        status_->setText(writeSucceeded_ ? QString() : failureStatus(writeFailure_));
        return;
    }
    if (writes_.isRunning()) {
        setEnabled(false);
        status_->setText(QStringLiteral("Запись схемы в Z5…"));
    }
}

void ConsoleWindow::writeSetpoints() {
    if (deferDuringAutoRead([this] { writeSetpoints(); })) return;
    if (exchangeUnderWay() || !writes_.setpointsEnabled()) return;
    turnRefreshOff(QString());
    // What goes out is what the fields show, and the store keeps it too.
    const int wrong = live_.storeShownSetpoints(writes_.setpointBlock());
    view_->refresh();
    if (wrong >= 0) {
        status_->setText(QStringLiteral("%1: не число, задатчики не записаны").arg(panel_.row(wrong).caption));
        return;
    }
    if (writes_.writeSetpoints() == SetpointWrite::Outcome::Started && writes_.isRunning()) {
        setEnabled(false);
        status_->setText(QStringLiteral("Запись задатчиков в Z5…"));
    }
}

} // namespace z5
