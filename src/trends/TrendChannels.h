#pragma once
#include <QColor>
#include <QString>
#include <array>

namespace z5 {

class ParameterStore;

// What the trend recorder's parameters say about its channels: their names,
// the trend's title and each channel's scale limits.
struct TrendChannels {
    static constexpr int kChannels = 32;

    struct Scale {
        float low = 0.0f;
        float high = 0.0f;
    };

    std::array<QString, kChannels> names;
    QString title;
    std::array<Scale, kChannels> scales{};

    // Names from `NAME_GRA` (element c + 1, title 33), limits from columns 1 and
    // 2 of `PARAMETR_GRA` (row c + 1).
    static TrendChannels fromStore(const ParameterStore &store);

    QString name(int channel) const;
    Scale scale(int channel) const;
    // Percent of a sample on the channel's scale, -50..100.
    float percent(float value, int channel) const;
};

// Percent of a sample on a scale from low to high. A positive range maps
// low..high to 0..100, a negative one to -50..0, one across zero maps 0..high to
// 0..100 and low..0 to -50..0. A missing sample or equal limits give 0; the
// result is clamped to -50..100. Single precision throughout.
float trendPercent(float value, float low, float high);

// Curve colour of a channel by its place in the group: red, green, yellow, cyan.
QColor trendChannelColour(int channel);
// The same as 0xRRGGBB.
unsigned trendChannelRgb(int channel);

} // namespace z5
