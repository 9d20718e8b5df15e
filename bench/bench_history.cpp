// A week of stored rows (250 pages, 60 000 rows of 32 channels) put in time
// order and written out as a workbook and a CSV table; drawing a week's curves.
// Run: build/bench/bench_history
#include "DatedPages.h"
#include "trends/ArchiveHistory.h"
#include "trends/HistoryPlotPainter.h"
#include "trends/HistoryView.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCsv.h"
#include "trends/TrendWorkbook.h"
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// 250 pages of 240 rows, a row every 10 s, each page right after the one before.
std::vector<z5::ArchivedPage> weekOfPages() {
    std::vector<z5::ArchivedPage> pages;
    const QDateTime start = z5::testing::at("2026-12-01T00:00:00");
    for (int p = 0; p < 250; ++p) {
        z5::ArchivedPage page = z5::testing::datedPage(p % 250 + 1, start.addSecs(qint64(p) * 2400), 10, 240);
        for (int r = 0; r < 240; ++r)
            for (int c = 0; c < 32; ++c) page.page.setSample(r, c, float((c + 1) * 10 + 5 * std::sin((p * 240 + r) / 19.0 + c)));
        pages.push_back(std::move(page));
    }
    return pages;
}

void placeWeek(benchmark::State &state) {
    const std::vector<z5::ArchivedPage> pages = weekOfPages();
    for (auto _ : state) benchmark::DoNotOptimize(z5::ArchiveHistory::fromPages(pages).rowCount());
}
BENCHMARK(placeWeek)->Unit(benchmark::kMillisecond);

void weekToWorkbook(benchmark::State &state) {
    const z5::ArchiveHistory history = z5::ArchiveHistory::fromPages(weekOfPages());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("week.xlsx"));
    for (auto _ : state)
        if (!z5::TrendWorkbook::write(path, history, z5::TrendChannels{}, 3)) state.SkipWithError("not written");
    state.counters["rows"] = history.rowCount();
}
BENCHMARK(weekToWorkbook)->Unit(benchmark::kMillisecond)->Iterations(2);

void weekToCsv(benchmark::State &state) {
    const z5::ArchiveHistory history = z5::ArchiveHistory::fromPages(weekOfPages());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("week.csv"));
    for (auto _ : state)
        if (!z5::TrendCsv::write(path, history, z5::TrendChannels{})) state.SkipWithError("not written");
}
BENCHMARK(weekToCsv)->Unit(benchmark::kMillisecond)->Iterations(2);

// One frame of scrolling through a whole week at 1000 x 500 pixels: the
// frames per second are 1000 / the time.
void drawWeekFrame(benchmark::State &state) {
    const z5::ArchiveHistory history = z5::ArchiveHistory::fromPages(weekOfPages());
    z5::TrendChannels channels;
    for (int c = 0; c < 32; ++c) channels.scales[std::size_t(c)] = {0.0f, float((c + 2) * 10)};
    z5::HistoryView view;
    view.show(history.secondsAt(0), history.secondsAt(history.rowCount() - 1));
    QImage image(1000, 500, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.scroll(0.001);
        QPainter p(&image);
        z5::HistoryPlotPainter::draw(p, QRectF(image.rect()), history, view, 0, channels);
    }
}
BENCHMARK(drawWeekFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
