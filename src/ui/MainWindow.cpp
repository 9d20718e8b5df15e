#include "ui/MainWindow.h"
#include "screen/ScreenModel.h"
#include "ui/AboutBox.h"
#include <QCoreApplication>
#include "ui/ParameterDialog.h"
#include "ui/AlarmDialog.h"
#include "ui/PortDialog.h"
#include "ui/ScreenPreview.h"
#include "ui/Session.h"
#include "ui/StationDialog.h"
#include "ui/TrafficWindow.h"
#include "ui/WorkReportDialog.h"
#include "ui/PortStatusText.h"
#include "ui/WindowPlacement.h"
#include "download/ScreenWrite.h"
#include "download/WriteMarks.h"
#include "link/WriteReply.h"
#include "link/SerialPort.h"
#include "model/Prompts.h"
#include <QCloseEvent>
#include <QShowEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QUndoStack>

#include "ui/ConsoleWindow.h"

namespace z5 {

namespace {

// Where the designer's side controls and the progress bar sit, in twips: close
// to the preview and the progress bar just below it, so that the window fits
// 1024 x 768 at 125 % without scrolling.
constexpr int kPanelLeft = 10100;
constexpr int kPanelWidth = 2050;
constexpr int kRowHeight = 315;
constexpr int kProgressTop = 7500;
constexpr int kProgressHeight = 240;
constexpr int kClientWidth = kPanelLeft + kPanelWidth + 15;
constexpr int kClientHeight = 7800;

QRect twips(int left, int top, int width, int height) {
    return QRect(MainWindow::px(left), MainWindow::px(top), MainWindow::px(width), MainWindow::px(height));
}

QString screenFileFilter() { return QStringLiteral("scada file (*.scd)"); }
QString pictureFilter() { return QStringLiteral("Рисунки (*.bmp *.png *.jpg *.jpeg *.gif);;Все файлы (*)"); }

} // namespace

MainWindow::MainWindow(Session &session, QWidget *parent)
    : QMainWindow(parent), session_(session), designer_(session.screen, session.screenBuilder) {
    setObjectName(QStringLiteral("Scada_Z5_NEW"));
    setWindowTitle(QStringLiteral("Конфигуратор  Z5"));
    buildMenus();

    // The designer keeps its twip layout inside a scroll area, so that the window
    // can shrink to a small screen with every control still reachable.
    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("designer"));
    central->setFixedSize(px(kClientWidth), px(kClientHeight));
    setCentralWidget(WindowPlacement::scrolling(central, this));
    preview_ = new ScreenPreview(session_.screen, central);
    preview_->move(0, 0);
    preview_->setEditor(&designer_.editor());
    connect(preview_, &ScreenPreview::elementDoubleClicked, this, &MainWindow::openElementDialog);
    connect(&designer_.editor(), &ScreenEditor::backgroundChanged, this,
            [this] { preview_->setPicture(designer_.editor().background()); });
    connect(&designer_.editor(), &ScreenEditor::modifiedChanged, this, &MainWindow::showModified);
    buildDesignerPanel(central);

    progressBar_ = new QProgressBar(central);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    // One step per tick of the closing timer; the third tick ends the write.
    progressBar_->setRange(0, 3);
    progressBar_->setTextVisible(false);
    progressBar_->setGeometry(twips(ScreenPreview::kPreviewLeft, kProgressTop, ScreenPreview::kPreviewWidth,
                                    kProgressHeight));
    progressBar_->hide();

    portStatus_ = new QLabel(this);
    portStatus_->setObjectName(QStringLiteral("lblPort"));
    statusBar()->addWidget(portStatus_);
    writeStatus_ = new QLabel(this);
    writeStatus_->setObjectName(QStringLiteral("lblWriteStatus"));
    statusBar()->addWidget(writeStatus_, 1);
    showPortStatus();
    connect(&session_.line, &LineSession::adapterGone, this, &MainWindow::showPortStatus);
    connect(&session_.line, &LineSession::adapterReturned, this, &MainWindow::showPortStatus);
    connect(&session_.line, &LineSession::settingsChanged, this, &MainWindow::showPortStatus);

    followDownloads();
    WindowPlacement::restore(this, QStringLiteral("main"),
                             central->size() + QSize(WindowPlacement::scrollBarRoom(this), menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
}

MainWindow::~MainWindow() {
    // What the closing writes may still report is no longer shown.
    disconnect(&session_.line, &LineSession::writeStarted, this, nullptr);
    if (followedWrite_) disconnect(followedWrite_, nullptr, this, nullptr);
    closeEverything();
    delete portDialog_;
    delete stationDialog_;
    delete stationScanDialog_;
    delete about_;
    delete elementDialog_;
    delete console_;
}

void MainWindow::buildMenus() {
    auto action = [this](QMenu *menu, const char *name, const QString &text) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };

    QMenu *file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnuFILE"));
    newScreenAction_ = action(file, "mnu_NEW", QStringLiteral("&Создать SCADA"));
    loadScreenAction_ = action(file, "mnuLoad", QStringLiteral("&Загрузить SCADA"));
    saveScreenAction_ = action(file, "mnuSave", QStringLiteral("&Сохранить SCADA"));
    file->addSeparator();
    exitAction_ = action(file, "mnuEXIT", QStringLiteral("&Выход"));

    QMenu *net = menuBar()->addMenu(QStringLiteral("&Сеть"));
    net->setObjectName(QStringLiteral("mnuNET"));
    portAction_ = action(net, "mnuCOM", QStringLiteral("&Номер COM"));
    stationAction_ = action(net, "mnuNUM_Z5", QStringLiteral("&Номер Z5"));
    findStationsAction_ = action(net, "mnuFindStations", QStringLiteral("Найти станции"));
    net->addSeparator();
    connect(action(net, "mnuTrafficMonitor", QStringLiteral("&Монитор обмена")), &QAction::triggered, this,
            [this] { TrafficWindow::open(session_.line.traffic(), session_.prompts, this); });
    connect(action(net, "mnuWorkReport", QStringLiteral("Отчёт о работах")), &QAction::triggered, this,
            [this] { WorkReportDialog::open(session_, this); });

    QMenu *schema = menuBar()->addMenu(QStringLiteral("&Схема"));
    schema->setObjectName(QStringLiteral("mnuSCHEMA"));
    consoleAction_ = action(schema, "mnu_SCHEMA_OPEN", QStringLiteral("&Схема "));

    QMenu *scada = menuBar()->addMenu(QStringLiteral("&SCADA"));
    scada->setObjectName(QStringLiteral("mnuSCADA"));
    backgroundAction_ = action(scada, "mnu_FON", QStringLiteral("&Фон"));
    addParameterAction_ = action(scada, "mnuParametr", QStringLiteral("&Параметр"));
    addAlarmAction_ = action(scada, "mnuSignal", QStringLiteral("&Сигнализация"));
    buildEditMenu(scada);
    scada->addSeparator();
    writeScreenAction_ = action(scada, "mnu_save_Z5", QStringLiteral("&Записать в Z5 "));

    // A command of the menu bar itself, without a menu below it.
    aboutAction_ = menuBar()->addAction(QStringLiteral("&Справка"));
    aboutAction_->setObjectName(QStringLiteral("mnuAbout"));

    connect(newScreenAction_, &QAction::triggered, this, &MainWindow::newScreen);
    connect(loadScreenAction_, &QAction::triggered, this, &MainWindow::loadScreenFile);
    connect(saveScreenAction_, &QAction::triggered, this, &MainWindow::saveScreenFile);
    connect(exitAction_, &QAction::triggered, this, &MainWindow::close);
    connect(portAction_, &QAction::triggered, this, &MainWindow::openPortDialog);
    connect(stationAction_, &QAction::triggered, this, &MainWindow::openStationDialog);
    connect(findStationsAction_, &QAction::triggered, this, &MainWindow::openStationScan);
    connect(consoleAction_, &QAction::triggered, this, &MainWindow::openConsole);
    connect(backgroundAction_, &QAction::triggered, this, &MainWindow::chooseBackground);
    connect(addParameterAction_, &QAction::triggered, this, [this] {
        if (designer_.addParameter() >= 0) preview_->update();
    });
    connect(addAlarmAction_, &QAction::triggered, this, [this] {
        if (designer_.addAlarm() >= 0) preview_->update();
    });
    connect(writeScreenAction_, &QAction::triggered, this, &MainWindow::startScreenWrite);
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::openAbout);
}

void MainWindow::buildDesignerPanel(QWidget *central) {
    int top = ScreenPreview::kPreviewTop;
    // A caption wider than the column goes on two lines.
    auto caption = [&](const QString &text) {
        auto *label = new QLabel(text, central);
        label->setWordWrap(true);
        const int width = px(kPanelWidth);
        const int height = qMax(px(kRowHeight), label->heightForWidth(width));
        label->setGeometry(px(kPanelLeft), px(top), width, height);
        top += height * kTwipsPerPixel;
        return label;
    };

    caption(QStringLiteral("Разрядность чисел"));
    digitSample_ = new QLabel(central);
    digitSample_->setObjectName(QStringLiteral("Label_digits"));
    digitSample_->setFrameShape(QFrame::Box);
    digitSample_->setAlignment(Qt::AlignCenter);
    digitSample_->setCursor(Qt::PointingHandCursor);
    digitSample_->setToolTip(QStringLiteral("Щелчок меняет число цифр"));
    digitSample_->installEventFilter(this);
    digitSample_->move(px(kPanelLeft), px(top));
    top += kRowHeight + 150;
    showDigits();
    // Undo and redo change the digit count too.
    connect(&session_.screen, &ScreenModel::changed, this, &MainWindow::showDigits);

    QLabel *thresholdLabel = caption(QStringLiteral("Порог цвета (0-255)"));
    threshold_ = new QLineEdit(QString::number(session_.screen.colorThreshold()), central);
    threshold_->setObjectName(QStringLiteral("Text2"));
    threshold_->setGeometry(twips(kPanelLeft, top, 900, kRowHeight));
    thresholdLabel->setBuddy(threshold_);
    connect(threshold_, &QLineEdit::textEdited, this, &MainWindow::onThresholdEdited);
    top += kRowHeight + 150;

    QLabel *modeLabel = caption(QStringLiteral("Кодирование рисунка"));
    displayMode_ = new QComboBox(central);
    displayMode_->setObjectName(QStringLiteral("TFT_LCD"));
    displayMode_->addItem(QStringLiteral("Сжатие по сериям"));
    displayMode_->addItem(QStringLiteral("Упаковка по 3 бита"));
    displayMode_->setCurrentIndex(session_.screen.displayMode() == ScreenModel::kRunLengthMode ? 0 : 1);
    displayMode_->setGeometry(twips(kPanelLeft, top, kPanelWidth, kRowHeight + 60));
    // The longer item in full within the narrow column.
    QFont small = displayMode_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    displayMode_->setFont(small);
    modeLabel->setBuddy(displayMode_);
    connect(displayMode_, &QComboBox::currentIndexChanged, this,
            [this](int entry) { session_.screen.setDisplayMode(entry); });
}

void MainWindow::showDigits() {
    digitSample_->setText(session_.screen.digitSample());
    // 100 twips a digit, unless the font needs more to show them all.
    const int needed = digitSample_->fontMetrics().horizontalAdvance(digitSample_->text()) + 8;
    digitSample_->resize(qMax(px(session_.screen.digitLabelWidth()), needed), px(kRowHeight));
    preview_->update();
}

void MainWindow::onThresholdEdited(const QString &text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    // A value that is not a byte is not stored, and the field says so.
    ok = ok && session_.screen.setColorThreshold(value);
    threshold_->setStyleSheet(ok ? QString() : QStringLiteral("QLineEdit { border: 2px solid red; }"));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == digitSample_ && event->type() == QEvent::MouseButtonPress) {
        designer_.editor().stepDigits();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::discardQuestion() {
    return QStringLiteral("Экран изменён и не сохранён. Продолжить без сохранения?");
}

QString MainWindow::largePictureWarning(QSize size) {
    return QStringLiteral("Рисунок %1 × %2 больше экрана Z5 (320 × 240): запись в Z5 его не примет.")
        .arg(size.width())
        .arg(size.height());
}

bool MainWindow::mayDiscardChanges() {
    return !designer_.hasUnsavedChanges() || session_.prompts.confirm(discardQuestion());
}

bool MainWindow::showResult(const ScreenCommandResult &result) {
    if (!result.problem.isEmpty()) session_.prompts.message(result.problem, QString(), Prompts::Kind::Error);
    if (!result.oversizedPicture.isEmpty()) session_.prompts.message(largePictureWarning(result.oversizedPicture));
    return result.done();
}

void MainWindow::newScreen() {
    if (!mayDiscardChanges()) return;
    showResult(designer_.newScreen(ScreenDesignerCommands::Unsaved::Discard));
}

void MainWindow::saveScreenFile() {
    const QString path =
        session_.prompts.saveFileName(QStringLiteral("Сохранить SCADA"), screenFileFilter(), designer_.initialDir());
    showResult(designer_.saveScreen(path));
}

void MainWindow::loadScreenFile() {
    if (!mayDiscardChanges()) {
        preview_->update();
        return;
    }
    showScreenFile(session_.prompts.openFileName(QStringLiteral("Загрузить SCADA"), screenFileFilter(),
                                                 designer_.initialDir()));
}

void MainWindow::openScreenFile(const QString &path) {
    if (!mayDiscardChanges()) return;
    showScreenFile(path);
}

void MainWindow::showScreenFile(const QString &path) {
    QImage picture = preview_->picture();
    const bool loaded = showResult(designer_.loadScreen(path, picture, ScreenDesignerCommands::Unsaved::Discard));
    if (!loaded) {
        preview_->update();
        return;
    }
    preview_->setPicture(picture);
    showDigits();
}

void MainWindow::chooseBackground() {
    QImage picture = preview_->picture();
    const QString path =
        session_.prompts.openFileName(QStringLiteral("Фон"), pictureFilter(), designer_.initialDir());
    if (showResult(designer_.chooseBackground(path, picture))) preview_->setPicture(picture);
}

bool MainWindow::writeUnderWay() {
    if (!session_.line.isBusy()) return false;
    session_.prompts.beep();
    return true;
}

void MainWindow::openPortDialog() {
    if (portDialog_ || writeUnderWay()) return;
    portDialog_ = new PortDialog(session_.line, session_.prompts, this);
    connect(portDialog_, &QDialog::finished, this, &MainWindow::showPortStatus);
    portDialog_->show();
}

void MainWindow::openStationDialog() {
    if (stationDialog_ || writeUnderWay()) return;
    stationDialog_ = new StationDialog(session_.line, this);
    connect(stationDialog_, &StationDialog::stationChanged, this, &MainWindow::showPortStatus);
    stationDialog_->show();
}

void MainWindow::openStationScan() {
    if (stationScanDialog_ || writeUnderWay()) return;
    stationScanDialog_ = new StationScanDialog(session_.clock, session_.line, this);
    connect(stationScanDialog_, &StationScanDialog::stationChanged, this, &MainWindow::showPortStatus);
    stationScanDialog_->show();
}

void MainWindow::showPortStatus() {
    portStatus_->setText(portStatusText(session_.line));
}

void MainWindow::openAbout() {
    if (about_) return;
    about_ = new AboutBox(this, session_.recorder.placeText(), shippedLicences(QCoreApplication::applicationDirPath()));
    about_->show();
}

void MainWindow::openConsole() {
    if (!console_) console_ = new ConsoleWindow(session_, this);
    // The console hides this window and shows itself with its grid.
    if (auto *console = qobject_cast<ConsoleWindow *>(console_.data())) console->showInPlaceOfMainWindow();
}

void MainWindow::startScreenWrite() {
    // The picture goes at its own size, as the preview shows it when sized to it.
    // A second write while one is sending is refused with a beep; behind a read
    // the write waits its turn.
    if (session_.line.activity() == LineSession::Activity::WriteSequence) {
        session_.prompts.beep();
        return;
    }
    const QImage picture = preview_->picture();
    // A packed picture whose bottom rows the stream cannot carry is named before
    // anything starts; the user may still write what fits.
    const QString question = ScreenWrite::fitQuestion(session_.screen, picture);
    if (!question.isEmpty() && !session_.prompts.confirm(question)) return;
    session_.screenWrite.startScreenWrite(picture);
}

void MainWindow::closeEverything() {
    // Closing the port dialog closes the port too.
    if (portDialog_) portDialog_->close();
    if (stationDialog_) stationDialog_->close();
    if (stationScanDialog_) stationScanDialog_->close();
    if (about_) about_->close();
    if (elementDialog_) elementDialog_->close();
    // Hidden, not closed: closing the console brings the main window back.
    if (console_) console_->hide();
}

void MainWindow::buildEditMenu(QMenu *scada) {
    QUndoStack &stack = designer_.editor().undoStack();
    scada->addSeparator();
    undo_ = scada->addAction(QStringLiteral("Отменить"));
    undo_->setObjectName(QStringLiteral("mnuUndo"));
    undo_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    undo_->setEnabled(stack.canUndo());
    redo_ = scada->addAction(QStringLiteral("Повторить"));
    redo_->setObjectName(QStringLiteral("mnuRedo"));
    redo_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    redo_->setEnabled(stack.canRedo());
    connect(undo_, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(redo_, &QAction::triggered, &stack, &QUndoStack::redo);
    connect(&stack, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);

    likeController_ = scada->addAction(QStringLiteral("Как на Z5"));
    likeController_->setObjectName(QStringLiteral("mnuLikeZ5"));
    likeController_->setCheckable(true);
    connect(likeController_, &QAction::toggled, this, [this](bool on) { preview_->setLikeController(on); });
}

void MainWindow::openElementDialog(ScreenElement element) {
    if (elementDialog_ || session_.line.activity() == LineSession::Activity::WriteSequence) return;
    ScreenEditor &editor = designer_.editor();
    if (element.isParameter())
        elementDialog_ = new ParameterDialog(editor, element.slot, this);
    else
        elementDialog_ = new AlarmDialog(editor, element.slot, this);
    elementDialog_->show();
}

void MainWindow::showModified(bool modified) {
    setWindowTitle(modified ? QStringLiteral("Конфигуратор  Z5*") : QStringLiteral("Конфигуратор  Z5"));
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (!mayDiscardChanges()) {
        event->ignore();
        return;
    }
    // Parameter edits of the console are asked about too.
    if (auto *console = qobject_cast<ConsoleWindow *>(console_.data()); console && !console->mayClose()) {
        event->ignore();
        return;
    }
    WindowPlacement::save(this, QStringLiteral("main"));
    closeEverything();
    session_.line.release();
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event) {
    showPortStatus();
    QMainWindow::showEvent(event);
}

void MainWindow::followDownloads() {
    // Every write, whoever started it, is shown as it goes and ends with what became of it.
    connect(&session_.line, &LineSession::writeStarted, this,
            [this](const std::shared_ptr<WriteReply> &write) { followWrite(*write); });
}

void MainWindow::followWrite(WriteReply &write) {
    followedWrite_ = &write;
    writeStatus_->setText(QStringLiteral("Запись в Z5…"));
    connect(&write, &WriteReply::marked, this, [this](int mark) {
        switch (mark) {
        case WriteMarks::kClosingOpened:
            progressBar_->setValue(1);
            progressBar_->setVisible(true);
            break;
        case WriteMarks::kWindowHeld: setEnabled(false); break;
        case WriteMarks::kClosed:
            setEnabled(true);
            progressBar_->setVisible(false);
            preview_->setDesignerHidden(false);
            break;
        case WriteMarks::kDesignerHidden: preview_->setDesignerHidden(true); break;
        default:
            if (WriteMarks::isClosingTick(mark)) progressBar_->setValue(qBound(0, mark, progressBar_->maximum()));
            break;
        }
    });
    WriteReply *reply = &write;
    connect(&write, &WriteReply::finished, this, [this, reply] {
        const bool succeeded = reply->succeeded();
        QString why = reply->failureText().section(u'\n', 0, 0).trimmed();
        while (why.endsWith(u'!')) why.chop(1);
        writeStatus_->setText(succeeded ? QStringLiteral("Запись в Z5 закончена")
                                        : QStringLiteral("Запись в Z5 не закончена: %1").arg(why.isEmpty() ? QStringLiteral("Нет сети") : why));
    });
}

} // namespace z5
