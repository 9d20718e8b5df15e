// Drawing a trend page, writing its workbook and reading a page from z5-sim.
#include "app/Session.h"
#include "link/QtSerialPort.h"
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPlotPainter.h"
#include "trends/TrendSession.h"
#include "trends/TrendWorkbook.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

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

// A whole page from z5-sim pacing its replies at 115200 bit/s; range(0) is the
// sim's --drop-every (0: no fault), range(1) its --stray (bytes of noise before
// every part).
void readPageFromSim(benchmark::State &state) {
    const QString sim = qEnvironmentVariable("Z5_SIM");
    if (sim.isEmpty()) {
        state.SkipWithError("set Z5_SIM to the z5-sim program");
        return;
    }
    QStringList simArgs{QStringLiteral("--line-speed")};
    if (state.range(0) > 0) simArgs << QStringLiteral("--drop-every") << QString::number(state.range(0));
    if (state.range(1) > 0) simArgs << QStringLiteral("--stray") << QString::number(state.range(1));
    QProcess process;
    process.start(sim, simArgs);
    process.waitForReadyRead(5000);
    const QString device = QString::fromUtf8(process.readLine()).trimmed();
    // The simulator answers a GRA block only once its block table says so.
    QProcess download;
    download.start(qEnvironmentVariable("Z5CTL"), {QStringLiteral("download"), QStringLiteral("--port"), device,
                                                   qEnvironmentVariable("Z5_NETLIST")});
    download.waitForFinished(20000);
    z5::QtSerialPort port;
    z5::RecordingPrompts prompts;
    z5::QtClock clock;
    z5::Session app(clock, port, prompts);
    port.open(device);
    z5::TrendSession &session = app.trends;
    session.setBlock(10);
    for (auto _ : state) {
        QEventLoop loop;
        bool read = false;
        QObject::connect(&session, &z5::TrendSession::readEnded, &loop, [&](z5::TrendSession::Outcome o) {
            read = o == z5::TrendSession::Outcome::Read;
            loop.quit();
        });
        session.readPage(2);
        loop.exec();
        if (!read) state.SkipWithError("no page");
    }
    port.close();
    process.kill();
    process.waitForFinished();
}
BENCHMARK(readPageFromSim)->Args({0, 0})->Args({10, 0})->Args({0, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
