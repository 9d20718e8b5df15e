#include "link/ValueCodec.h"
#include <benchmark/benchmark.h>

// The parameter table encodes about four thousand values per download.
static void EncodeParameterTable(benchmark::State &state) {
    for (auto _ : state) {
        for (int i = 0; i < 4206; ++i) benchmark::DoNotOptimize(z5::ValueCodec::encodeValue(i * 0.37f - 700.0f));
    }
}
BENCHMARK(EncodeParameterTable);
BENCHMARK_MAIN();
