// The differences of a whole project against the last write the record holds:
// the console computes them when it opens and before every write, so they
// should stay well under 50 ms.
#include "download/ProjectDownloadTables.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "record/RecordDifferences.h"
#include <benchmark/benchmark.h>

namespace {

// Every column holds a block: the types with the most rows first, each instance in turn.
z5::Project fullProject() {
    z5::Project project;
    int column = 0;
    for (int instance = 1; instance <= 8 && column < z5::Project::kColumns; ++instance)
        for (int type = 1; type <= z5::BlockCatalogue::kBlockTypes && column < z5::Project::kColumns; ++type) {
            if (instance > z5::BlockCatalogue::maxInstance(type)) continue;
            project.setSchema(z5::Project::TypeRow, column, static_cast<std::uint8_t>(type));
            project.setSchema(z5::Project::InstanceRow, column, static_cast<std::uint8_t>(instance));
            ++column;
        }
    return project;
}

z5::ParameterStore filled(float scale) {
    z5::ParameterStore store;
    int k = 0;
    for (int type = 1; type <= 33; ++type) {
        auto *t = store.numberTable(type);
        if (!t) continue;
        for (int s = 0; s < t->slotCount(); ++s)
            for (int r = 0; r < t->rowCount(); ++r, ++k) t->setValue(s, r, static_cast<float>(k % 97) * scale);
    }
    for (int s = 0; s < 12; ++s) store.setpointNames.setValue(s, 8, QStringLiteral("Задатчик %1").arg(s + scale));
    return store;
}

void differences(benchmark::State &state, float nowScale) {
    const z5::Project project = fullProject();
    const z5::ParameterStore then = filled(0.37f);
    const z5::ParameterStore now = filled(nowScale);
    const z5::ProjectDownloadTables tables(project, then);
    std::map<int, QByteArray> record;
    for (int t = 0; t < 12; ++t) record[t] = tables.table(t).data;
    std::size_t found = 0;
    for (auto _ : state) {
        found = z5::recordDifferences(project, now, record).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["differences"] = static_cast<double>(found);
}

void BM_RecordDifferencesNoneChanged(benchmark::State &state) { differences(state, 0.37f); }
void BM_RecordDifferencesAllChanged(benchmark::State &state) { differences(state, 0.41f); }
BENCHMARK(BM_RecordDifferencesNoneChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordDifferencesAllChanged)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
