// ui_screenshots DIR [NETLIST]: grabs the main window with a small operator
// screen designed in it, and the block console with NETLIST (the boiler example
// by default) imported, into DIR/main-window.png and DIR/console.png. Run under
// Xvfb for the README's pictures: xvfb-run -a build/tests/ui_main/ui_screenshots docs
// With --small first: the console on 1024 x 768 at 125 %, at both ends of its scrolling.
// Without it also the traffic monitor in the middle of a download, DIR/traffic-monitor.png.
#include "SessionBench.h"
#include "link/FakeSerialPort.h"
#include "model/VirtualClock.h"
#include "screen/ScreenEditor.h"
#include "screen/ScreenModel.h"
#include "ui/MainWindow.h"
#include "ui/ScreenPreview.h"
#include "ui/TrafficTableModel.h"
#include "ui/TrafficWindow.h"
#include "ReplyFrames.h"
#include <QTableView>
#include "ui/Session.h"
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QFile>
#include <QTemporaryDir>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <cstdio>
#include <cstring>

#include "console/BlockSelection.h"
#include "model/BlockCatalogue.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleIcon.h"
#include "ui/ConsoleWindow.h"
#include "DemoScreen.h"

namespace {

// A block reply whose rows hold the given first and second values.
QByteArray replyWith(const std::vector<std::pair<double, double>> &rows) {
    QByteArray r(258, '\0');
    r[0] = 1;
    r[1] = 3;
    auto put = [&r](int offset, double v) {
        const qint32 raw = static_cast<qint32>(v * 1000.0);
        for (int i = 0; i < 4; ++i) r[offset + i] = static_cast<char>((raw >> (8 * i)) & 0xFF);
    };
    for (std::size_t k = 0; k < rows.size() && k < 8; ++k) {
        put(2 + 4 * int(k), rows[k].first);
        put(130 + 4 * int(k), rows[k].second);
    }
    const std::uint16_t crc = z5::Link::checkValueOf(r);
    r.append(char(crc & 0xFF));
    r.append(char(crc >> 8));
    return r;
}

// The icon of the first block of a type, as the console placed it.
int iconOfType(z5::ConsoleWindow &console, const char *mnemonic) {
    const int type = z5::BlockCatalogue::typeByMnemonic(QString::fromLatin1(mnemonic));
    for (int n = 0; n < z5::ConsoleCanvas::kIcons; ++n) {
        const z5::ConsoleIcon *icon = console.canvas()->icon(n);
        if (icon && !icon->isHidden() && z5::BlockSelection::typeOfIcon(n) == type) return n;
    }
    return -1;
}

bool save(QWidget *w, const QString &path) {
    QApplication::processEvents();
    const bool ok = w->grab().save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// A block read, a process start and a download seen by the traffic monitor,
// grabbed after the parameter table went out with its data block selected.
bool grabTrafficMonitor(QWidget *console, z5::VirtualClock &clock, z5::FakeSerialPort &port, const QDir &dir) {
    port.responder = [](const QByteArray &request) {
        const bool read = request.size() == 8 && request[1] == 0x03;
        return read ? z5::testframes::blockReply('\x05', request[2] == 0) : QByteArray();
    };
    auto *blocks = qobject_cast<z5::ConsoleWindow *>(console);
    if (!blocks) return false;
    for (int n = 0; n < z5::ConsoleCanvas::kIcons; ++n) {
        const z5::ConsoleIcon *icon = blocks->canvas()->icon(n);
        if (icon && !icon->isHidden()) {
            blocks->iconPressed(n, Qt::LeftButton);
            break;
        }
    }
    clock.advance(400);
    const auto trigger = [console](const char *name) {
        QAction *a = console->findChild<QAction *>(QLatin1String(name));
        if (a) a->trigger();
        return a != nullptr;
    };
    if (!trigger("mnuSTART_PROCESS")) return false;
    clock.advance(400);
    if (!trigger("mnuTrafficMonitor") || !trigger("mnuSAVE_485")) return false;
    clock.advance(4350);
    z5::TrafficWindow *monitor = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *m = qobject_cast<z5::TrafficWindow *>(w)) monitor = m;
    if (!monitor) return false;
    for (int row = 0; row < monitor->model().rowCount(); ++row)
        if (monitor->model().record(row).what.startsWith(QStringLiteral("таблица 10, данные"))) monitor->table()->selectRow(row);
    // The exchanges before the download at the top, the selected block below.
    monitor->table()->scrollToTop();
    const bool ok = save(monitor, dir.filePath(QStringLiteral("traffic-monitor.png")));
    clock.advance(3000);
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    // --small: the console on a small screen (run with a 1024 x 768 screen and
    // QT_SCALE_FACTOR=1.25), scrolled to its top left and to its bottom right.
    const bool small = argc > 1 && std::strcmp(argv[1], "--small") == 0;
    if (small) {
        --argc;
        ++argv;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: ui_screenshots [--small] DIR [NETLIST]\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const QString netlist = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(Z5_EXAMPLES_DIR "/boiler.net");

    z5::SessionBench bench;
    z5::VirtualClock &clock = bench.clock;
    z5::FakeSerialPort &port = bench.port;
    z5::RecordingPrompts &prompts = bench.prompts;
    z5::Session &session = bench.session;
    z5::MainWindow window(session);
    window.show();
    designScreen(window);
    if (!small) {
        if (!save(&window, dir.filePath(QStringLiteral("main-window.png")))) return 1;
        // The alarm dialog of the text element, opened by a double click.
        z5::ScreenPreview *preview = window.preview();
        const QPoint at = preview->elementRect(z5::ScreenElement::alarm(0)).center();
        QMouseEvent click(QEvent::MouseButtonDblClick, at, preview->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(preview, &click);
        if (!window.elementDialog() || !save(window.elementDialog(), dir.filePath(QStringLiteral("alarm-dialog.png"))))
            return 1;
        window.elementDialog()->close();
    }

    prompts.openNames << netlist;
    window.consoleAction()->trigger();
    QWidget *console = window.console();
    QAction *import = console ? console->findChild<QAction *>(QStringLiteral("mnuLOADParametrBLOCK")) : nullptr;
    if (!import) {
        std::fprintf(stderr, "the console has no import command\n");
        return 1;
    }
    import->trigger();
    clock.advance(2000);  // the priority labels
    // The parameter panel of the PID regulator, as a right click lays it out.
    if (auto *blocks = qobject_cast<z5::ConsoleWindow *>(console)) {
        const int pid = z5::BlockCatalogue::typeByMnemonic(QStringLiteral("PID"));
        for (int n = 0; n < z5::ConsoleCanvas::kIcons; ++n) {
            const z5::ConsoleIcon *icon = blocks->canvas()->icon(n);
            if (icon && !icon->isHidden() && z5::BlockSelection::typeOfIcon(n) == pid) {
                blocks->iconPressed(n, Qt::RightButton);
                break;
            }
        }
    }
    for (const auto &m : prompts.messages) std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
    if (small) {
        auto *area = qobject_cast<QScrollArea *>(static_cast<QMainWindow *>(console)->centralWidget());
        if (!area) return 1;
        std::fprintf(stdout, "console %dx%d on a screen of %dx%d\n", console->width(), console->height(),
                     console->screen()->availableGeometry().width(), console->screen()->availableGeometry().height());
        if (!save(console, dir.filePath(QStringLiteral("console-small-top.png")))) return 1;
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        return save(console, dir.filePath(QStringLiteral("console-small-bottom.png"))) ? 0 : 1;
    }
    if (!save(console, dir.filePath(QStringLiteral("console.png")))) return 1;

    auto *blocks = qobject_cast<z5::ConsoleWindow *>(console);
    if (!blocks) return 1;
    // The live values of the PID regulator, as a left click reads them.
    port.responder = [](const QByteArray &) {
        return replyWith({{48.7, 0.625}, {50.0, 1.0}, {1, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}});
    };
    const int pidIcon = iconOfType(*blocks, "PID");
    if (pidIcon >= 0) blocks->iconPressed(pidIcon, Qt::LeftButton);
    clock.advance(150);
    if (!save(console, dir.filePath(QStringLiteral("live-values.png")))) return 1;

    // An operator panel of the second layout with two lamps lit.
    QTemporaryDir temp;
    const QString panelNet = temp.filePath(QStringLiteral("panel.net"));
    QFile net(panelNet);
    if (!net.open(QIODevice::WriteOnly)) return 1;
    net.write("(netlist \"panel\"\n(compInst \"U1\"\n(originalName \"PAN\")\n(compValue \"1_1\")\n)\n"
              "(compInst \"U2\"\n(originalName \"A_I\")\n(compValue \"2_1\")\n)\n)\n");
    net.close();
    prompts.openNames << panelNet;
    import->trigger();
    clock.advance(2000);
    session.store.numbersPAN.setValue(0, 0, 1.0f);
    const QString names[5] = {QStringLiteral("Котельная"), QStringLiteral("Насос"), QStringLiteral("Горелка"),
                              QStringLiteral("Вентилятор"), QStringLiteral("Задвижка")};
    for (int i = 0; i < 5; ++i) session.store.panelTexts.setValue(0, i, names[i]);
    port.responder = [](const QByteArray &) { return replyWith({{0, 1}, {0, 0}, {0, 0}, {0, 1}, {0, 1}}); };
    const int panIcon = iconOfType(*blocks, "PAN");
    if (panIcon >= 0) blocks->iconPressed(panIcon, Qt::LeftButton);
    clock.advance(150);
    if (!save(console, dir.filePath(QStringLiteral("panel.png")))) return 1;
    return grabTrafficMonitor(console, clock, port, dir) ? 0 : 1;
}
