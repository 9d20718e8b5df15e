// Drawing a trend page, writing its workbook and reading a page from z5-sim.
// Run: build/bench/bench_trends --benchmark_filter='Sim|Bare'
#include "SimProcess.h"
#include "app/Session.h"
#include "link/Link.h"
#include "link/QtSerialPort.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPlotPainter.h"
#include "trends/TrendSession.h"
#include "trends/TrendWorkbook.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

z5::TrendPage fullPage() {
    z5::TrendPage page;
    page.rowCount = 240;
    page.pageNumber = 2;
    page.time = {6, 12, 26, 8, 40, 0, 8, 49, 20, 8, 58, 40, 9, 10, 40};
    for (int r = 0; r < 240; ++r)
        for (int c = 0; c < 32; ++c) page.setSample(r, c, float((c + 1) * 10 + 5 * std::sin(r / 19.0 + c * 0.7)));
    return page;
}

z5::TrendChannels channels() {
    z5::TrendChannels ch;
    for (int c = 0; c < 32; ++c) {
        ch.scales[c] = {0.0f, float((c + 2) * 10)};
        ch.names[c] = QStringLiteral("Канал %1").arg(c + 1);
    }
    ch.title = QStringLiteral("Котёл");
    return ch;
}

void drawPage(benchmark::State &state) {
    const z5::TrendPage page = fullPage();
    const z5::TrendChannels ch = channels();
    QImage image(z5::TrendPlotPainter::size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        z5::TrendPlotPainter::draw(p, page, 1, ch);
        p.end();
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(drawPage)->Unit(benchmark::kMillisecond);

void writeWorkbook(benchmark::State &state) {
    const z5::TrendPage page = fullPage();
    const z5::TrendChannels ch = channels();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.xlsx"));
    for (auto _ : state)
        if (!z5::TrendWorkbook::write(path, page, ch, 3)) state.SkipWithError("not written");
}
BENCHMARK(writeWorkbook)->Unit(benchmark::kMillisecond);

// A trend page from z5-sim --line-speed, side by side with what the line
// allows: the 30 replies' own wire time (1064 bytes each at 115200 bit/s, 10
// bits a byte) and a bare reader that asks for each part the moment the last
// one is in, with no line owner, queue or page assembly. The simulator's
// turnaround (5 ms a part) is in both measured times, not in the wire time.
constexpr double kWireMs = 30.0 * 1064 * 10 * 1000 / 115200;   // 2770.8 ms
constexpr int kRecorderColumn = 10;                            // U11 in the boiler example

struct SimLine {
    std::unique_ptr<SimProcess> sim;
    bool ok = false;

    explicit SimLine(const QStringList &faults) {
        sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--line-speed")} + faults);
        if (!sim->running()) return;
        // The simulator answers a GRA block only once its block table says so.
        QProcess download;
        download.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("download"), QStringLiteral("--port"), sim->device(),
                                                    QStringLiteral(Z5_SOURCE_DIR "/examples/boiler.net")});
        ok = download.waitForFinished(30000) && download.exitCode() == 0;
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void report(benchmark::State &state, const std::vector<double> &ms) {
    state.counters["median_ms"] = median(ms);
    state.counters["wire_ms"] = kWireMs;
    state.counters["x_wire"] = median(ms) / kWireMs;
}

// range(0): the sim's --drop-every (0: no fault); range(1): its --stray (bytes of
// noise before every part).
void readPageFromSim(benchmark::State &state) {
    QStringList faults;
    if (state.range(0) > 0) faults << QStringLiteral("--drop-every") << QString::number(state.range(0));
    if (state.range(1) > 0) faults << QStringLiteral("--stray") << QString::number(state.range(1));
    SimLine sim(faults);
    if (!sim.ok) return state.SkipWithError("z5-sim did not start or the download failed");
    z5::QtSerialPort port;
    z5::RecordingPrompts prompts;
    z5::QtClock clock;
    z5::Session app(clock, port, prompts);
    app.line.useDevice(sim.sim->device());
    if (app.line.enqueueOpen()->outcome() != z5::LineOutcome::Reply) return state.SkipWithError("the port did not open");
    z5::TrendSession &session = app.trends;
    session.setBlock(kRecorderColumn);
    std::vector<double> ms;
    for (auto _ : state) {
        QEventLoop loop;
        bool read = false;
        const auto connection = QObject::connect(&session, &z5::TrendSession::readEnded, &loop, [&](z5::LineOutcome o) {
            read = o == z5::LineOutcome::Reply;
            loop.quit();
        });
        QElapsedTimer t;
        t.start();
        session.readPage(2);
        loop.exec();
        const double elapsed = t.nsecsElapsed() / 1e6;
        QObject::disconnect(connection);
        if (!read) return state.SkipWithError("no page");
        ms.push_back(elapsed);
        state.SetIterationTime(elapsed / 1000.0);
    }
    report(state, ms);
    app.line.release();
}
BENCHMARK(readPageFromSim)->Args({0, 0})->Args({10, 0})->Args({0, 1})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The bare reader on the same simulator: each part request goes out the moment
// the 1064 bytes of the last one are in.
void thirtyRepliesBare(benchmark::State &state) {
    SimLine sim({});
    if (!sim.ok) return state.SkipWithError("z5-sim did not start or the download failed");
    z5::QtSerialPort port;
    if (!port.open(sim.sim->device())) return state.SkipWithError("the port did not open");
    const auto frame = [](int part) {
        QByteArray f;
        f.append(char(1)).append(char(3)).append(char(kRecorderColumn + 1)).append(char(10 + part)).append(char(0)).append(char(2));
        const std::uint16_t check = z5::Link::checkValueOf(f);
        return f.append(char(check >> 8)).append(char(check & 0xFF));
    };
    std::vector<double> ms;
    for (auto _ : state) {
        QEventLoop loop;
        int part = 0;
        qint64 got = 0;
        port.readAll();
        port.setArrivalHandler([&] {
            got += port.readAll().size();
            if (got < 1064) return;
            got = 0;
            if (++part == 30) {
                loop.quit();
                return;
            }
            port.write(frame(part));
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        QElapsedTimer t;
        t.start();
        port.write(frame(0));
        loop.exec();
        const double elapsed = t.nsecsElapsed() / 1e6;
        port.setArrivalHandler({});
        if (part != 30) return state.SkipWithError("the simulator did not answer every part");
        ms.push_back(elapsed);
        state.SetIterationTime(elapsed / 1000.0);
    }
    report(state, ms);
    port.close();
}
BENCHMARK(thirtyRepliesBare)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
