// Saving and loading a full parameter file: the console does both on the user's
// command, so they should take a blink, not a pause.
#include "model/ParameterStore.h"
#include "model/AtomicFileSave.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QChar kSeparator = QLatin1Char(',');

z5::ParameterStore fullStore() {
    z5::ParameterStore store;
    int k = 0;
    for (int type = 1; type <= 33; ++type) {
        auto *t = store.numberTable(type);
        for (int s = 0; s < t->slotCount(); ++s)
            for (int r = 0; r < t->rowCount(); ++r, ++k) t->setValue(s, r, static_cast<float>(k) * -0.37f);
    }
    for (int s = 0; s < 13; ++s)
        for (int r = 0; r < 10; ++r) store.setpointNames.setValue(s, r, QStringLiteral("Задатчик %1").arg(r));
    for (int e = 0; e < 35; ++e) store.trendTexts.setElement(e, QStringLiteral("Температура печи %1").arg(e));
    return store;
}

void BM_SaveParameterFile(benchmark::State &state) {
    const z5::ParameterStore store = fullStore();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.par"));
    for (auto _ : state) {
        const bool ok = z5::AtomicFileSave::save(path, z5::ParameterFileWriter::write(store, kSeparator));
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_SaveParameterFile)->Unit(benchmark::kMillisecond);

void BM_LoadParameterFile(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.par"));
    z5::AtomicFileSave::save(path, z5::ParameterFileWriter::write(fullStore(), kSeparator));
    z5::ParameterStore store;
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const z5::ParameterFileLoad result = z5::ParameterFileReader::read(file, kSeparator, store);
        benchmark::DoNotOptimize(result.ok);
    }
}
BENCHMARK(BM_LoadParameterFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
