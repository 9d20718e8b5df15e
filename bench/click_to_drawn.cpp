// The time from a click in the console (the request is written at once) to the
// values drawn, side by side with z5ctl read-block's request -> reply on the
// same z5-sim --line-speed on a pseudo-terminal: the command line's blocking
// exchange, the console core alone, the console window (table and panel key).
// The reply alone takes 23 ms on the wire at 115200 bit/s. At the end the
// console's medians are given as multiples of the command line's.
#include "app/ConsoleCore.h"
#include "console/PanelKeys.h"
#include "link/BlockingExchange.h"
#include "link/SystemSerialPort.h"
#include "model/BlockCatalogue.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleWindow.h"
#include "ui/LiveViewPane.h"
#include "ui/PanelPictureWidget.h"
#include "app/Session.h"
#include "ui/ValueTableWidget.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QEventLoop>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// z5ctl's side: a session of its own on the platform port, as read-block builds it.
struct CommandLine {
    z5::QtClock clock;
    z5::SystemSerialPort port{clock};
    z5::RecordingPrompts prompts;
    z5::Session session{clock, port, prompts};
};

struct Rig {
    QProcess sim;
    QTemporaryDir dir;
    QString device;
    z5::QtClock clock;
    z5::SystemSerialPort port{clock};
    z5::RecordingPrompts prompts;
    std::unique_ptr<z5::Session> session;
    std::unique_ptr<z5::ConsoleWindow> console;
    // A console core without a window on the same session, for the core alone.
    std::unique_ptr<z5::ConsoleCore> core;
    std::unique_ptr<CommandLine> commandLine;
    bool ok = false;

    Rig() {
        sim.start(QStringLiteral(Z5_SIM_PATH), {QStringLiteral("--line-speed")});
        if (!sim.waitForStarted(10000)) return;
        while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
        }
        device = QString::fromLocal8Bit(sim.readLine().trimmed());
        qputenv("Z5_COM4", device.toLocal8Bit());
        const QString net = dir.filePath(QStringLiteral("bench.net"));
        QFile f(net);
        if (!f.open(QIODevice::WriteOnly)) return;
        f.write("(netlist \"bench\"\n(compInst \"U1\"\n(originalName \"PID\")\n(compValue \"1_1\")\n)\n"
                "(compInst \"U2\"\n(originalName \"PAN\")\n(compValue \"2_1\")\n)\n)\n");
        f.close();
        session = std::make_unique<z5::Session>(clock, port, prompts);
        console = std::make_unique<z5::ConsoleWindow>(*session, nullptr);
        console->show();
        prompts.openNames << net;
        console->importNetlist();
        session->store.numbersPAN.setValue(0, 0, 1.0f);
        // The simulator answers panel keys only for a panel it was told about.
        console->downloadSchema();
        ok = session->project.blockCount() == 2 && awaitEnd(15000);
        core = std::make_unique<z5::ConsoleCore>(*session);
        commandLine = std::make_unique<CommandLine>();
    }
    ~Rig() {
        // The console goes before the session it works on, and z5-sim is not left behind.
        commandLine.reset();
        core.reset();
        console.reset();
        session.reset();
        if (sim.state() != QProcess::NotRunning) {
            sim.terminate();
            if (!sim.waitForFinished(5000)) {
                sim.kill();
                sim.waitForFinished(5000);
            }
        }
    }
    // Runs the event loop until the exchange started by the click has ended and
    // the window takes the user's hand again.
    bool awaitEnd(int limitMs = 2000) {
        if (console->takesInput()) return true;
        QEventLoop loop;
        z5::ConsoleWindow *window = console.get();
        const QMetaObject::Connection watching = QObject::connect(&window->core(), &z5::ConsoleCore::usableChanged, &loop, [&loop, window] {
            if (window->takesInput()) loop.quit();
        });
        QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(watching);
        return console->takesInput();
    }
};

// Runs the event loop until the core's request has ended.
bool awaitCore(z5::ConsoleCore &core, int limitMs = 2000) {
    if (core.isUsable()) return true;
    QEventLoop loop;
    QObject::connect(&core, &z5::ConsoleCore::usableChanged, &loop, [&loop](bool usable) {
        if (usable) loop.quit();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return core.isUsable();
}

// Medians by benchmark, for the ratios printed at the end.
std::map<std::string, double> &medians() {
    static std::map<std::string, double> m;
    return m;
}

// Made by the first benchmark and ended by main() while the application still exists.
std::unique_ptr<Rig> &rigHolder() {
    static std::unique_ptr<Rig> r;
    return r;
}

Rig &rig() {
    if (!rigHolder()) rigHolder() = std::make_unique<Rig>();
    return *rigHolder();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Times `once` per iteration (true when it ended with the values in hand). The
// line's transfers split the time: from the click to the request on the wire,
// and from the reply's last byte to the end.
void measure(benchmark::State &state, const char *name, z5::LineSession &line, const std::function<bool()> &once) {
    std::vector<double> ms, toWire, afterReply;
    QElapsedTimer t;
    double sentAt = -1, receivedAt = -1, firstAt = -1;
    std::vector<double> first;
    const QMetaObject::Connection watching =
        QObject::connect(&line, &z5::LineSession::transferred, [&](z5::LineSession::Direction d, const QByteArray &) {
            const double now = t.nsecsElapsed() / 1e6;
            if (d == z5::LineSession::Direction::Sent && sentAt < 0) sentAt = now;
            if (d == z5::LineSession::Direction::Received) receivedAt = now;
            if (d == z5::LineSession::Direction::Received && firstAt < 0) firstAt = now;
        });
    for (auto _ : state) {
        sentAt = receivedAt = firstAt = -1;
        t.start();
        if (!once()) {
            state.SkipWithError("no reply");
            break;
        }
        const double elapsed = t.nsecsElapsed() / 1e6;
        ms.push_back(elapsed);
        toWire.push_back(sentAt);
        first.push_back(firstAt);
        afterReply.push_back(elapsed - receivedAt);
        state.SetIterationTime(elapsed / 1000.0);
    }
    QObject::disconnect(watching);
    state.counters["median_ms"] = median(ms);
    state.counters["to_wire_ms"] = median(toWire);
    state.counters["first_byte_ms"] = median(first);
    state.counters["after_reply_ms"] = median(afterReply);
    medians()[name] = median(ms);
}

void run(benchmark::State &state, const char *name, const std::function<void()> &click, QWidget *drawn) {
    measure(state, name, rig().session->line, [&] {
        click();
        if (!rig().awaitEnd()) return false;
        drawn->repaint();
        return true;
    });
}

// z5ctl read-block's request -> reply: the blocking exchange on the line owner.
void BM_ReadBlockRequestToReply(benchmark::State &state) {
    Rig &r = rig();
    if (!r.ok) return state.SkipWithError("z5-sim or the console did not start");
    // One side at a time on the pseudo-terminal: the console's port is closed meanwhile.
    r.session->line.release();
    z5::LineSession &line = r.commandLine->session.line;
    line.useDevice(r.device);
    if (line.enqueueOpen()->outcome() != z5::LineOutcome::Reply) return state.SkipWithError("the command line's port did not open");
    z5::BlockingExchange exchange(line);
    measure(state, "read-block", line, [&] { return exchange.run(z5::Request::blockRead(0)) == z5::LineOutcome::Reply && exchange.reply().size() == 260; });
    line.release();
}

// The console core alone: a left click on the PID block to its values in the live view.
void BM_BlockReadClickToValuesThroughTheCore(benchmark::State &state) {
    Rig &r = rig();
    if (!r.ok) return state.SkipWithError("z5-sim or the console did not start");
    z5::ConsoleCore &core = *r.core;
    int drawn = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&core, &z5::ConsoleCore::drawn, [&drawn](z5::LiveView::Shows) { ++drawn; });
    measure(state, "core: click -> values", r.session->line, [&] {
        const int before = drawn;
        core.pickForRead(0, z5::BlockType::PID);
        if (!core.readPicked()) return false;
        return awaitCore(core) && drawn == before + 1;
    });
    QObject::disconnect(counting);
}

void BM_BlockReadClickToTable(benchmark::State &state) {
    Rig &r = rig();
    if (!r.ok) return state.SkipWithError("z5-sim or the console did not start");
    z5::ConsoleWindow &c = *r.console;
    const int pidIcon = z5::BlockType::PID - 1;
    run(state, "window: click -> table", [&] { c.iconPressed(pidIcon, Qt::LeftButton); }, c.findChild<z5::LiveViewPane *>(QStringLiteral("liveView"))->valueTable());
}

void BM_PanelKeyClickToLamps(benchmark::State &state) {
    Rig &r = rig();
    if (!r.ok) return state.SkipWithError("z5-sim or the console did not start");
    z5::ConsoleWindow &c = *r.console;
    c.iconPressed(z5::BlockType::PAN - 1, Qt::LeftButton);
    if (!r.awaitEnd()) return state.SkipWithError("the panel block was not read");
    const QPointF key = z5::PanelKeys::keyRect(1).center();
    run(state, "window: key -> lamps", [&] { c.panelClicked(key); }, c.findChild<z5::LiveViewPane *>(QStringLiteral("liveView"))->panelPicture(2));
}

BENCHMARK(BM_ReadBlockRequestToReply)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_BlockReadClickToValuesThroughTheCore)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_BlockReadClickToTable)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_PanelKeyClickToLamps)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The console's click -> values drawn against the command line's request -> reply.
    const auto &m = medians();
    const auto base = m.find("read-block");
    if (base != m.end() && base->second > 0)
        for (const auto &[name, ms] : m)
            if (name != base->first) std::printf("%-24s %.3f x read-block\n", name.c_str(), ms / base->second);
    rigHolder().reset();
    return 0;
}
