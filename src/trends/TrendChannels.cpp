#include "trends/TrendChannels.h"
#include "model/ParameterStore.h"
#include "trends/TrendPage.h"

namespace z5 {
namespace {

constexpr int kTitleElement = 33;
constexpr int kLowColumn = 1;
constexpr int kHighColumn = 2;
constexpr unsigned kChannelRgb[4] = {0xFF0000u, 0x00FF00u, 0xFFFF00u, 0x00FFFFu};

} // namespace

TrendChannels TrendChannels::fromStore(const ParameterStore &store) {
    TrendChannels channels;
    for (int c = 0; c < kChannels; ++c) {
        channels.names[static_cast<std::size_t>(c)] = store.trendTexts.element(c + 1);
        channels.scales[static_cast<std::size_t>(c)] = {store.numbersGRA.value(kLowColumn, c + 1),
                                                        store.numbersGRA.value(kHighColumn, c + 1)};
    }
    channels.title = store.trendTexts.element(kTitleElement);
    return channels;
}

QString TrendChannels::name(int channel) const {
    return channel >= 0 && channel < kChannels ? names[static_cast<std::size_t>(channel)] : QString();
}

TrendChannels::Scale TrendChannels::scale(int channel) const {
    return channel >= 0 && channel < kChannels ? scales[static_cast<std::size_t>(channel)] : Scale{};
}

float TrendChannels::percent(float value, int channel) const {
    const Scale s = scale(channel);
    return trendPercent(value, s.low, s.high);
}

float trendPercent(float v, float lo, float hi) {
    if (TrendPage::isMissing(v) || hi == lo) return 0.0f;
    float p = 0.0f;
    if (lo >= 0.0f && hi >= 0.0f) {
        p = v < 0.0f ? 0.0f : (v - lo) * (100.0f / (hi - lo));
        if (p < 0.0f) p = 0.0f;
    }
    if (lo <= 0.0f && hi <= 0.0f) {
        p = v > 0.0f ? 0.0f : (v - hi) * (50.0f / (hi - lo));
        if (p > 0.0f) p = 0.0f;
    }
    if (lo <= 0.0f && hi >= 0.0f) {
        if (v >= 0.0f)
            p = hi == 0.0f ? 0.0f : v * (100.0f / hi);
        else
            p = lo == 0.0f ? 0.0f : v * (50.0f / -lo);
    }
    if (p > 100.0f) p = 100.0f;
    if (p < -50.0f) p = -50.0f;
    return p;
}

unsigned trendChannelRgb(int channel) { return kChannelRgb[((channel % 4) + 4) % 4]; }

QColor trendChannelColour(int channel) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | trendChannelRgb(channel))); }

} // namespace z5
