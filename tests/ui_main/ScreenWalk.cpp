// ui_screen_walk DIR: walks the configurator's windows against the controller
// on COM4 (z5-sim, mapped by Z5_COM4; scripts/screens.sh starts both under
// Xvfb) and writes one PNG per view into DIR: the main window and its dialogs,
// a file dialog and a message box,
// the console with a parameter panel, the live values, an operator panel of
// each layout, the trend window and its page dialog, an archive read and the
// history of the pages read, the traffic monitor and the console scrolled to
// its far corner, and the console against a record: its marks, the change list
// and the visit report.
#include "DemoScreen.h"
#include "SimProcess.h"
#include "console/BlockSelection.h"
#include "link/QtSerialPort.h"
#include "model/BlockCatalogue.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleIcon.h"
#include "ui/ConsoleParameterView.h"
#include "ui/ConsoleWindow.h"
#include "ui/QtTranslations.h"
#include "ui/Session.h"
#include "ui/TrafficWindow.h"
#include "ui/ArchiveReadDialog.h"
#include "ui/HistoryWindow.h"
#include "ui/TrendWindow.h"
#include "ui/ChangeListDialog.h"
#include "ui/WorkReportDialog.h"
#include "record/MemoryWriteHistory.h"
#include <QDateEdit>
#include "ui/WidgetPrompts.h"
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QDir out;
int failures = 0;

void shot(QWidget *w, const char *name) {
    if (!w || !w->isVisible()) {
        std::fprintf(stderr, "no window for %s\n", name);
        ++failures;
        return;
    }
    pumpEvents(150);
    const QString path = out.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    const bool ok = w->grab().save(path);
    if (!ok) ++failures;
    std::fprintf(ok ? stdout : stderr, "%s %s (%dx%d)\n", ok ? "wrote" : "could not write", qPrintable(path),
                 w->width(), w->height());
}

QWidget *shownTopLevel(const char *objectName) {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String(objectName)) return w;
    return nullptr;
}

template <typename T>
T *shownOf() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible()) return t;
    return nullptr;
}

void closeAndSettle(QWidget *w) {
    if (w) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    pumpEvents(50);
}

void doubleClick(z5::MainWindow &window, z5::ScreenElement element) {
    z5::ScreenPreview *preview = window.preview();
    const QPoint at = preview->elementRect(element).center();
    QMouseEvent event(QEvent::MouseButtonDblClick, at, preview->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(preview, &event);
}

int iconOfType(z5::ConsoleWindow &console, const char *mnemonic) {
    const int type = z5::BlockCatalogue::typeByMnemonic(QString::fromLatin1(mnemonic));
    for (int n = 0; n < z5::ConsoleCanvas::kIcons; ++n) {
        const z5::ConsoleIcon *icon = console.canvas()->icon(n);
        if (icon && !icon->isHidden() && z5::BlockSelection::typeOfIcon(n) == type) return n;
    }
    return -1;
}

// A left click on the block and the wait for its reply.
bool readBlock(z5::ConsoleWindow &console, const char *mnemonic) {
    const int icon = iconOfType(console, mnemonic);
    if (icon < 0) return false;
    console.iconPressed(icon, Qt::LeftButton);
    return pumpUntil([&] { return !console.awaitsReply(); }, 10000) &&
           console.replyStatus()->text().startsWith(QStringLiteral("Ответ блока"));
}

// The console against a record of the download just made, a field changed
// since: its mark, the change list and the visit report of that day.
void walkRecord(z5::ConsoleWindow &console, z5::Session &session, z5::test::MemoryWriteHistory &history) {
    z5::RecordedWrite &download = history.download(z5::ProjectDownloadTables(session.project, session.store), 0);
    z5::RecordedWrite &refused = history.download(z5::ProjectDownloadTables(session.project, session.store), 30);
    refused.state = z5::RecordedWrite::State::Failed;
    refused.failure = QStringLiteral("Нет сети!!!");
    refused.bytesSent = refused.bytesTotal / 3;
    (void)download;
    session.writeHistory = &history;
    session.netlistHash = "h1";
    console.showInPlaceOfMainWindow();
    const int pid = iconOfType(console, "PID");
    if (pid >= 0) console.iconPressed(pid, Qt::RightButton);
    if (auto *view = console.findChild<z5::ConsoleParameterView *>(QStringLiteral("parameterPanel"))) {
        QLineEdit *period = view->rowField(1);
        period->setFocus();
        period->selectAll();
        QTest::keyClicks(period, QStringLiteral("7"));
        QTest::keyClick(period, Qt::Key_Return);
    }
    shot(&console, "console-marks");
    console.action(QStringLiteral("mnuChanges"))->trigger();
    shot(shownOf<z5::ChangeListDialog>(), "change-list");
    closeAndSettle(shownOf<z5::ChangeListDialog>());
    console.action(QStringLiteral("mnuWorkReport"))->trigger();
    if (auto *report = shownOf<z5::WorkReportDialog>()) {
        report->firstDay()->setDate(z5::test::MemoryWriteHistory::start().toLocalTime().date());
        report->lastDay()->setDate(z5::test::MemoryWriteHistory::start().toLocalTime().date());
    }
    shot(shownOf<z5::WorkReportDialog>(), "work-report");
    closeAndSettle(shownOf<z5::WorkReportDialog>());
    session.writeHistory = nullptr;
    console.showInPlaceOfMainWindow();
}

void walkMainWindow(z5::MainWindow &window) {
    shot(&window, "main-window");
    window.portAction()->trigger();
    shot(window.portDialog(), "port-dialog");
    closeAndSettle(window.portDialog());
    window.stationAction()->trigger();
    shot(window.stationDialog(), "station-dialog");
    closeAndSettle(window.stationDialog());
    // The station search, once every station has been asked.
    window.findStationsAction()->trigger();
    if (z5::StationScanDialog *scan = window.stationScanDialog()) {
        pumpUntil([scan] { return !scan->search().isRunning(); }, 5000);
        shot(scan, "station-scan");
        closeAndSettle(scan);
    }
    window.aboutAction()->trigger();
    shot(shownTopLevel("About"), "about");
    closeAndSettle(shownTopLevel("About"));
    // Qt's own dialogs, in Russian whatever the system's locale.
    QFileDialog files(&window, QStringLiteral("Загрузить SCADA"), QDir::homePath(), QStringLiteral("scada file (*.scd)"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.show();
    shot(&files, "file-dialog");
    files.close();
    const auto box = z5::WidgetPrompts::messageBox(QStringLiteral("Нет сети!!!"), QString(), z5::Prompts::Kind::Error, &window);
    box->show();
    shot(box.get(), "message-box");
    box->close();
    doubleClick(window, z5::ScreenElement::parameter(0));
    shot(window.elementDialog(), "parameter-dialog");
    closeAndSettle(window.elementDialog());
    doubleClick(window, z5::ScreenElement::alarm(0));
    shot(window.elementDialog(), "alarm-dialog");
    closeAndSettle(window.elementDialog());
}

// An operator panel of each layout, with the names of its five texts.
void walkPanels(z5::ConsoleWindow &console, z5::Session &session, z5::RecordingPrompts &prompts) {
    QTemporaryDir temp;
    const QString panelNet = temp.filePath(QStringLiteral("panel.net"));
    QFile net(panelNet);
    if (!net.open(QIODevice::WriteOnly)) return;
    net.write("(netlist \"panel\"\n(compInst \"U1\"\n(originalName \"PAN\")\n(compValue \"1_1\")\n)\n"
              "(compInst \"U2\"\n(originalName \"A_I\")\n(compValue \"2_1\")\n)\n)\n");
    net.close();
    prompts.openNames << panelNet;
    console.action(QStringLiteral("mnuLOADParametrBLOCK"))->trigger();
    const QString names[5] = {QStringLiteral("Котельная"), QStringLiteral("Насос"), QStringLiteral("Горелка"),
                              QStringLiteral("Вентилятор"), QStringLiteral("Задвижка")};
    for (int i = 0; i < 5; ++i) session.store.panelTexts.setValue(0, i, names[i]);
    for (int layout = 0; layout < 5; ++layout) {
        session.store.numbersPAN.setValue(0, 0, float(layout));
        if (!readBlock(console, "PAN"))
            std::fprintf(stderr, "the panel of layout %d was not read: %s\n", layout, qPrintable(console.replyStatus()->text()));
        const QByteArray name = "panel-layout-" + QByteArray::number(layout);
        shot(&console, name.constData());
    }
}

// Pages 1 to 3 read from the archive into a record of the walk's own (never the
// user's), then the history of what was read.
void walkArchive(z5::TrendWindow &trends, z5::Session &session) {
    QTemporaryDir folder;
    trends.setArchiveAccess(session.clock, session.line, folder.filePath(QStringLiteral("record.sqlite")));
    trends.openArchiveRead();
    z5::ArchiveReadDialog *read = trends.archiveReadDialog();
    if (!read) {
        shot(nullptr, "archive-read");
        return;
    }
    read->findChild<QSpinBox *>(QStringLiteral("archiveFirst"))->setValue(1);
    read->findChild<QSpinBox *>(QStringLiteral("archiveLast"))->setValue(3);
    read->startReading();
    pumpEvents(400);
    shot(read, "archive-read-running");
    pumpUntil([read] { return !read->reading(); }, 60000);
    shot(read, "archive-read");
    closeAndSettle(read);
    trends.openHistory();
    z5::HistoryWindow *history = trends.historyWindow();
    shot(history, "history-window");
    closeAndSettle(history);
}

void walkTrends(z5::ConsoleWindow &console, z5::Session &session) {
    const int icon = iconOfType(console, "GRA");
    if (icon < 0) return;
    console.iconPressed(icon, Qt::LeftButton);
    pumpUntil([] { return shownOf<z5::TrendWindow>() != nullptr || false; }, 20000);
    z5::TrendWindow *trends = shownOf<z5::TrendWindow>();
    shot(trends, "trend-window");
    if (!trends) return;
    trends->openPageDialog();
    shot(shownTopLevel("sheet_GRAFIK_GO"), "trend-page-dialog");
    closeAndSettle(shownTopLevel("sheet_GRAFIK_GO"));
    walkArchive(*trends, session);
    closeAndSettle(trends);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: ui_screen_walk DIR (with Z5_COM4 naming the controller's port)\n");
        return 2;
    }
    out = QDir(QString::fromLocal8Bit(argv[1]));
    z5::installQtTranslations(app);

    z5::QtClock clock;
    z5::QtSerialPort port;
    z5::RecordingPrompts prompts;
    z5::Session session(clock, port, prompts);
    // Writes are entered in a record of the walk's own; the About box names it.
    QTemporaryDir recordFolder;
    session.recorder.open(recordFolder.filePath(QStringLiteral("station-record.sqlite")));
    z5::MainWindow window(session);
    window.show();
    designScreen(window);
    walkMainWindow(window);

    prompts.openNames << QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net");
    window.consoleAction()->trigger();
    auto *console = qobject_cast<z5::ConsoleWindow *>(window.console());
    if (!console) return 1;
    console->action(QStringLiteral("mnuLOADParametrBLOCK"))->trigger();
    pumpEvents(300);
    // The schema goes into the controller first, with the traffic monitor open.
    console->action(QStringLiteral("mnuTrafficMonitor"))->trigger();
    console->action(QStringLiteral("mnuSAVE_485"))->trigger();
    pumpUntil([&] { return console->isEnabled(); }, 30000);
    shot(shownOf<z5::TrafficWindow>(), "traffic-monitor");
    closeAndSettle(shownOf<z5::TrafficWindow>());

    const int pid = iconOfType(*console, "PID");
    if (pid >= 0) console->iconPressed(pid, Qt::RightButton);
    shot(console, "console");
    // A value the line cannot carry, typed and left: red, with its reason under the rows.
    if (auto *view = console->findChild<z5::ConsoleParameterView *>(QStringLiteral("parameterPanel"))) {
        QLineEdit *limit = view->rowField(2);
        limit->setFocus();
        limit->selectAll();
        QTest::keyClicks(limit, QStringLiteral("1e39"));
        QTest::keyClick(limit, Qt::Key_Return);
        shot(console, "console-refused");
        QTest::keyClick(limit, Qt::Key_Escape);
    }
    if (auto *area = qobject_cast<QScrollArea *>(console->centralWidget())) {
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        shot(console, "console-far-corner");
        area->horizontalScrollBar()->setValue(0);
        area->verticalScrollBar()->setValue(0);
    }
    if (!readBlock(*console, "PID"))
        std::fprintf(stderr, "the PID block was not read: %s\n", qPrintable(console->replyStatus()->text()));
    shot(console, "live-values");
    z5::test::MemoryWriteHistory history;
    walkRecord(*console, session, history);
    walkTrends(*console, session);
    walkPanels(*console, session, prompts);

    for (const auto &m : prompts.messages) std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
    closeAndSettle(console);
    return failures == 0 ? 0 : 1;
}
