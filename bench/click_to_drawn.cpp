// The time from a click in the console (the request is written at once) to the
// values drawn: a block read and a panel key, against z5-sim --line-speed on a
// pseudo-terminal. The reply alone takes 23 ms on the wire at 115200 bit/s.
#include "console/PanelKeys.h"
#include "link/QtSerialPort.h"
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
#include <memory>
#include <vector>

namespace {

// Ends an event loop when the watched window is enabled again: the wait for a
// reply sleeps in the event loop instead of spinning.
class EnabledWatch : public QObject {
public:
    EnabledWatch(QWidget *window, QEventLoop *loop) : window_(window), loop_(loop) { window->installEventFilter(this); }
    ~EnabledWatch() override { window_->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == window_ && event->type() == QEvent::EnabledChange && window_->isEnabled()) loop_->quit();
        return false;
    }

private:
    QWidget *window_;
    QEventLoop *loop_;
};

struct Rig {
    QProcess sim;
    QTemporaryDir dir;
    z5::QtClock clock;
    z5::QtSerialPort port;
    z5::RecordingPrompts prompts;
    std::unique_ptr<z5::Session> session;
    std::unique_ptr<z5::ConsoleWindow> console;
    bool ok = false;

    Rig() {
        sim.start(QStringLiteral(Z5_SIM_PATH), {QStringLiteral("--line-speed")});
        if (!sim.waitForStarted(10000)) return;
        while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
        }
        qputenv("Z5_COM4", sim.readLine().trimmed());
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
    }
    ~Rig() {
        // The console goes before the session it works on, and z5-sim is not left behind.
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
    // Runs the event loop until the exchange started by the click has ended.
    bool awaitEnd(int limitMs = 2000) {
        if (console->isEnabled()) return true;
        QEventLoop loop;
        const EnabledWatch watch(console.get(), &loop);
        QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
        loop.exec();
        return console->isEnabled();
    }
};

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

void run(benchmark::State &state, const std::function<void()> &click, QWidget *drawn) {
    std::vector<double> ms;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        click();
        if (!rig().awaitEnd()) {
            state.SkipWithError("no reply");
            return;
        }
        drawn->repaint();
        const double elapsed = t.nsecsElapsed() / 1e6;
        ms.push_back(elapsed);
        state.SetIterationTime(elapsed / 1000.0);
    }
    state.counters["median_ms"] = median(ms);
}

void BM_BlockReadClickToTable(benchmark::State &state) {
    Rig &r = rig();
    if (!r.ok) return state.SkipWithError("z5-sim or the console did not start");
    z5::ConsoleWindow &c = *r.console;
    const int pidIcon = z5::BlockType::PID - 1;
    run(state, [&] { c.iconPressed(pidIcon, Qt::LeftButton); }, c.liveViewPane()->valueTable());
}

void BM_PanelKeyClickToLamps(benchmark::State &state) {
    Rig &r = rig();
    if (!r.ok) return state.SkipWithError("z5-sim or the console did not start");
    z5::ConsoleWindow &c = *r.console;
    c.iconPressed(z5::BlockType::PAN - 1, Qt::LeftButton);
    if (!r.awaitEnd()) return state.SkipWithError("the panel block was not read");
    const QPointF key = z5::PanelKeys::keyRect(1).center();
    run(state, [&] { c.panelClicked(key); }, c.liveViewPane()->panelPicture(2));
}

BENCHMARK(BM_BlockReadClickToTable)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_PanelKeyClickToLamps)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rigHolder().reset();
    return 0;
}
