#include "ui/ConsoleWindow.h"
#include "console/BlockSelection.h"
#include "import/ConsoleLayout.h"
#include "model/BlockCatalogue.h"
#include "model/Clock.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleGeometry.h"
#include "ui/ConsoleIcon.h"
#include "ui/ChangeListDialog.h"
#include "ui/WorkReportDialog.h"
#include "ui/ConsoleParameterView.h"
#include "ui/LiveViewPane.h"
#include "ui/Session.h"
#include "ui/PortStatusText.h"
#include "ui/StationDialog.h"
#include "ui/StationScanDialog.h"
#include "ui/TrafficWindow.h"
#include "ui/WindowPlacement.h"
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
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

QChar decimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

} // namespace

ConsoleWindow::ConsoleWindow(Session &session, QWidget *mainWindow)
    : session_(session),
      mainWindow_(mainWindow),
      core_(session),
      ageTimer_(session.clock.createTimer()),
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

    view_ = new ConsoleParameterView(core_.panel(), canvas_);
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
    connect(&core_.progress(), &ConsoleProgress::changed, progressBar_, &QProgressBar::setValue);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblReplyStatus"));
    statusBar()->addWidget(status_, 1);
    changeCount_ = new QLabel(this);
    changeCount_->setObjectName(QStringLiteral("lblChangeCount"));
    statusBar()->addPermanentWidget(changeCount_);
    portStatus_ = new QLabel(this);
    portStatus_->setObjectName(QStringLiteral("lblPort"));
    statusBar()->addPermanentWidget(portStatus_);
    showPortStatus();
    connect(&session_.line, &LineSession::adapterGone, this, &ConsoleWindow::showPortStatus);
    connect(&session_.line, &LineSession::adapterReturned, this, &ConsoleWindow::showPortStatus);
    connect(&session_.line, &LineSession::settingsChanged, this, &ConsoleWindow::showPortStatus);

    buildMenus();
    buildFilter();

    connect(&core_, &ConsoleCore::statusChanged, status_, &QLabel::setText);
    connect(&core_, &ConsoleCore::usableChanged, this, &ConsoleWindow::followUsable);
    connect(view_, &ConsoleParameterView::fieldFinished, &core_, &ConsoleCore::finishField);
    connect(view_, &ConsoleParameterView::fieldReverted, &core_, &ConsoleCore::revertField);
    connect(&core_, &ConsoleCore::drawn, this, &ConsoleWindow::draw);
    view_->setWrittenText([this](int row) -> QString {
        const auto place = core_.panel().fieldPlace(row);
        return place ? core_.record().writtenTextIfChanged(*place, core_.panel().type(), row) : QString();
    });
    connect(&core_, &ConsoleCore::panelChanged, view_, &ConsoleParameterView::refresh);
    connect(&core_, &ConsoleCore::panelChanged, this, &ConsoleWindow::showChangeCount);
    connect(view_, &ConsoleParameterView::edited, this, &ConsoleWindow::showChangeCount);
    connect(&core_.record(), &RecordComparison::written, this, [this] {
        view_->refresh();
        showChangeCount();
    });
    connect(&core_, &ConsoleCore::refreshChanged, this, &ConsoleWindow::showValueAge);
    connect(&core_, &ConsoleCore::processPictureChanged, canvas_, &ConsoleCanvas::showProcessPicture);
    connect(&core_, &ConsoleCore::setpointsEnabledChanged, setpointAction_, &QAction::setEnabled);

    cursorTimer_->setOnTimeout([this] { canvas_->toggleCursor(); });
    priorityTimer_->setOnTimeout([this] { printPriorityLabels(); });
    // The "00" heading is printed once at start, before any import.
    priorityTimer_->start(kPriorityLabelsDelayMs);
    WindowPlacement::restore(this, QStringLiteral("console"),
                             canvas_->size() + QSize(WindowPlacement::scrollBarRoom(this), menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
}

bool ConsoleWindow::takesInput() const { return isEnabled(); }

void ConsoleWindow::followUsable(bool usable) {
    // Only a write greys the window. A read, key or command leaves it usable:
    // what the user does meanwhile waits its turn on the line.
    if (!usable && core_.writes().isRunning()) {
        disabledForWrite_ = true;
        setEnabled(false);
        return;
    }
    if (usable && disabledForWrite_) {
        disabledForWrite_ = false;
        setEnabled(true);
    }
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
    addCommand(net, "mnuFindStations", QStringLiteral("Найти станции"), &ConsoleWindow::findStations);
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
    controller->addSeparator();
    addCommand(controller, "mnuChanges", QStringLiteral("Изменения"), &ConsoleWindow::showChanges);
    addCommand(controller, "mnuWorkReport", QStringLiteral("Отчёт о работах"), &ConsoleWindow::showWorkReport);
}

void ConsoleWindow::showChangeCount() {
    changeCount_->setText(core_.record().countText());
    if (onlyChanged_ && (onlyChanged_->isChecked() || !findText_->text().trimmed().isEmpty())) showFound();
}

void ConsoleWindow::buildFilter() {
    QToolBar *bar = addToolBar(QStringLiteral("Поиск"));
    bar->setObjectName(QStringLiteral("tbFind"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(QStringLiteral("Найти: "), bar));
    findText_ = new QLineEdit(bar);
    findText_->setObjectName(QStringLiteral("edtFind"));
    findText_->setPlaceholderText(QStringLiteral("блок, параметр или значение"));
    findText_->setClearButtonEnabled(true);
    findText_->setMaximumWidth(220);
    bar->addWidget(findText_);
    onlyChanged_ = new QCheckBox(QStringLiteral("только изменённые"), bar);
    onlyChanged_->setObjectName(QStringLiteral("chkOnlyChanged"));
    bar->addWidget(onlyChanged_);
    found_ = new QComboBox(bar);
    found_->setObjectName(QStringLiteral("cmbFound"));
    found_->setMinimumContentsLength(24);
    found_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    bar->addWidget(found_);
    bar->addAction(action(QStringLiteral("mnuChanges")));
    connect(findText_, &QLineEdit::textChanged, this, &ConsoleWindow::showFound);
    connect(onlyChanged_, &QCheckBox::toggled, this, &ConsoleWindow::showFound);
    connect(found_, &QComboBox::activated, this, &ConsoleWindow::goToFound);
    showFound();
}

void ConsoleWindow::showFound() {
    foundFields_ = findFields(session_, core_.record(), findText_->text(), onlyChanged_->isChecked());
    const QSignalBlocker block(found_);
    found_->clear();
    for (const FoundField &f : foundFields_) found_->addItem(f.text);
    found_->setEnabled(!foundFields_.empty());
    found_->setCurrentIndex(-1);
    found_->setPlaceholderText(QStringLiteral("Найдено: %1").arg(foundFields_.size()));
}

void ConsoleWindow::goToFound(int index) {
    if (!takesInput() || index < 0 || index >= static_cast<int>(foundFields_.size())) return;
    const FoundField f = foundFields_[static_cast<std::size_t>(index)];
    iconPressed(ConsoleLayout::iconNumber(f.type, session_.project.instance(f.column)), Qt::RightButton);
    if (f.row < 0) return;
    QWidget *field = view_->rowField(f.row)->isVisible() ? static_cast<QWidget *>(view_->rowField(f.row))
                                                         : static_cast<QWidget *>(view_->rowChoice(f.row));
    // After the list has closed and given the focus back to itself.
    QTimer::singleShot(0, field, [field] {
        if (field->isVisible()) field->setFocus(Qt::OtherFocusReason);
    });
}

void ConsoleWindow::showChanges() {
    if (!takesInput()) return;
    core_.panel().finishEdits();
    view_->refresh();
    ChangeListDialog::open(core_.record().differences(), this);
}

void ConsoleWindow::showWorkReport() {
    if (takesInput()) WorkReportDialog::open(session_, this);
}

QAction *ConsoleWindow::action(const QString &objectName) const { return findChild<QAction *>(objectName); }

void ConsoleWindow::showInPlaceOfMainWindow() {
    if (mainWindow_) {
        // Shown again where it was, whichever way the console is left: the frame's
        // corner and the client size, put back once it is shown again.
        mainWindowPlace_ = QRect(mainWindow_->pos(), mainWindow_->size());
        mainWindow_->hide();
    }
    showPortStatus();
    // The record may have been chosen, or a netlist imported, since the console was last shown.
    core_.record().recordChanged();
    view_->refresh();
    showChangeCount();
    canvas_->printSlotNumbers(true);
    show();
    raise();
    activateWindow();
}

void ConsoleWindow::importNetlist() {
    const auto mode = static_cast<Numbering>(numbering_->currentIndex() == 1 ? 1 : 0);
    // A netlist that fails leaves the icons, the panel and the selection exactly as they were.
    const ImportResult result = core_.importNetlist(mode);
    if (!result.ok) return;
    canvas_->clearDrawing();
    canvas_->printSlotNumbers(false);
    // The selection belonged to the project that was just replaced.
    hideCursor();
    hideLiveView();
    heading_->clear();
    canvas_->placeIcons(result.layout);
    priorityTimer_->start(kPriorityLabelsDelayMs);
}

void ConsoleWindow::printPriorityLabels() {
    priorityTimer_->stop();
    std::vector<ConsoleCanvas::Label> labels;
    labels.push_back({ConsoleLayout::priorityHeadingText(), ConsoleLayout::priorityHeadingPosition()});
    const ConsoleLayout layout = ConsoleLayout::fromProject(session_.project);
    for (const ConsoleLayout::BlockIcon &b : layout.icons()) labels.push_back({b.priorityText, b.priorityPosition});
    canvas_->printPriorityLabels(std::move(labels));
}

void ConsoleWindow::loadParameters() { core_.loadParameters(decimalSeparator()); }

void ConsoleWindow::saveParameters() { core_.saveParameters(decimalSeparator()); }

bool ConsoleWindow::mayClose() { return core_.mayClose(decimalSeparator()); }

void ConsoleWindow::closeConsole() { close(); }

void ConsoleWindow::giveBackMainWindow() {
    WindowPlacement::save(this, QStringLiteral("console"));
    if (!mainWindow_) return;
    mainWindow_->show();
    if (mainWindowPlace_.isValid()) {
        mainWindow_->resize(mainWindowPlace_.size());
        mainWindow_->move(mainWindowPlace_.topLeft());
    }
}

void ConsoleWindow::closeEvent(QCloseEvent *event) {
    // Parameter edits neither saved nor written are not dropped unasked.
    if (!mayClose()) {
        event->ignore();
        return;
    }
    core_.close();
    // A page still being read is given up; its window never appears without the console.
    if (trendWindow_) trendWindow_->close();
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
    auto *dialog = new StationDialog(session_.line, this);
    connect(dialog, &StationDialog::stationChanged, this, &ConsoleWindow::showPortStatus);
    dialog->show();
}

void ConsoleWindow::findStations() {
    // The dialog disables this window and gives it back when it closes.
    auto *dialog = new StationScanDialog(session_.clock, session_.line, this);
    connect(dialog, &StationScanDialog::stationChanged, this, &ConsoleWindow::showPortStatus);
    dialog->show();
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
    if (!takesInput()) return;
    const ConsoleIcon *icon = canvas_->icon(iconNumber);
    const auto type = BlockSelection::typeOfIcon(iconNumber);
    if (!icon || !type) return;
    const QPoint corner = icon->cornerTwips();
    const auto column = BlockSelection::columnAt(corner.x(), corner.y());
    if (!column) return;

    view_->setHeadingsVisible(button != Qt::LeftButton);
    heading_->setText(LiveView::headingOf(session_.project, *column));

    if (button == Qt::RightButton) {
        hideLiveView();
        core_.pickForParameters(*column, *type);
        // Tab starts at the top of the panel just laid out, not at a field of the last one.
        if (QWidget *first = view_->firstField()) first->setFocus(Qt::OtherFocusReason);
        placeCursor(corner);
        return;
    }

    const LiveView::Shows shows = core_.pickForRead(*column, *type);
    const LiveView &live = core_.liveView();
    if (*type == BlockType::GRA) {
        setEnabled(false);
        hideLiveView();
        placeCursor(corner);
        openTrendWindow(*column);
        return;
    }
    // The request leaves first; the pane is laid out while the reply is on its way.
    const bool reading = core_.readPicked();
    if (*type == BlockType::S_P) {
        hideLiveView();
        view_->setHeadingsVisible(true);
        view_->refresh();
    } else if (shows == LiveView::Shows::Panel) {
        liveView_->showPanel(live.read().layout, live.panelCaption(), live.channelNames());
        liveView_->setSwitches(live.switchOn());
        liveView_->raise();
    } else {
        showValueTable();
    }
    if (reading) placeCursor(corner);
}

void ConsoleWindow::openTrendWindow(int column) {
    // The console stays disabled while the trend window is open; closing it gives
    // the console back. The window keeps the block it was opened for.
    session_.trends.setChannels(TrendChannels::fromStore(session_.store));
    trendWindow_ = new TrendWindow(session_.trends, session_.prompts, column, this);
    trendWindow_->setArchiveAccess(session_.clock, session_.line);
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
    hideLiveView();
    heading_->clear();
    view_->setHeadingsVisible(false);
}

void ConsoleWindow::pauseProcess() {
    if (!takesInput()) return;
    tidyForProcessCommand();
    core_.processCommand(z5::Request::PauseProcess);
}

void ConsoleWindow::startProcess() {
    if (!takesInput()) return;
    tidyForProcessCommand();
    core_.processCommand(z5::Request::StartProcess);
}

void ConsoleWindow::processPictureClicked() {
    if (!takesInput()) return;
    tidyForProcessCommand();
    core_.processCommand(z5::Request::ProcessPicture);
}

void ConsoleWindow::storeSchema() {
    if (!takesInput()) return;
    core_.processCommand(z5::Request::StoreSchema);
}

void ConsoleWindow::downloadSchema() {
    if (!takesInput()) return;
    core_.downloadSchema();
}

void ConsoleWindow::writeSetpoints() {
    if (!takesInput()) return;
    core_.writeSetpoints();
}

} // namespace z5
