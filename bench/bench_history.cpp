// A week of stored rows (250 pages, 60 000 rows of 32 channels) put in time
// order and written out as a workbook and a CSV table; drawing a week's curves.
// Run: build/bench/bench_history
#include "DatedPages.h"
#include "trends/ArchiveHistory.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCsv.h"
#include "trends/TrendWorkbook.h"
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

} // namespace

BENCHMARK_MAIN();
