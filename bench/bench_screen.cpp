#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>

namespace {

// A photograph-like 320x240 picture: a sky gradient, a lit sphere, a horizon and
// sensor noise, so the colour reduction sees smooth shades and ragged edges.
QImage photograph() {
    QImage image(320, 240, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return int(seed >> 27) - 16;
    };
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            int r = 60 + y / 2, g = 110 + y / 3, b = 230 - y / 4;
            if (y > 150) {  // ground
                r = 90 + (x * 7 + y * 3) % 60;
                g = 120 + (x * 3) % 50;
                b = 40 + (y * 5) % 30;
            }
            const double dx = x - 200.0, dy = y - 90.0, d = std::sqrt(dx * dx + dy * dy);
            if (d < 55) {  // sphere lit from the upper left
                const double light = 1.0 - (d + (dx + dy) * 0.4) / 110.0;
                r = int(255 * light);
                g = int(140 * light);
                b = int(60 * light);
            }
            auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
            image.setPixel(x, y, qRgb(clamp(r + noise()), clamp(g + noise()), clamp(b + noise())));
        }
    }
    return image;
}

void BuildScreen(benchmark::State &state, int mode) {
    const QImage picture = photograph();
    z5::ScreenModel model;
    model.setDisplayMode(mode);
    z5::ScreenBuilder builder;
    bool fits = false;
    for (auto _ : state) {
        auto result = builder.build(model, picture);
        fits = result.ok();
        benchmark::DoNotOptimize(result);
    }
    state.counters["fits"] = fits;
    state.SetItemsProcessed(state.iterations() * 320 * 240);
}

} // namespace

// The stream is built once per screen write.
BENCHMARK_CAPTURE(BuildScreen, RunLength, z5::ScreenModel::kRunLengthMode)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildScreen, Packed, z5::ScreenModel::kPackedMode)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
