#pragma once
#include <QString>
#include <array>
#include <cstdint>

namespace z5 {

// One page of the trend archive: 240 rows of 32 channels, the date and the
// four times of day the page carries, its number and how many rows are valid.
// A page starts empty: every sample missing, no valid row.
struct TrendPage {
    static constexpr int kRows = 240;
    static constexpr int kChannels = 32;
    static constexpr int kSamples = kRows * kChannels;   // 7680
    static constexpr int kGroups = 8;
    static constexpr int kChannelsPerGroup = 4;
    static constexpr int kFirstPage = 1;
    static constexpr int kLastPage = 250;
    // A sample at or below this value was not recorded.
    static constexpr float kMissingLimit = -2100000.0f;

    TrendPage() { samples.fill(kMissingLimit); }

    std::array<float, kSamples> samples;
    int rowCount = 0;                       // valid rows, 0..240
    int pageNumber = 0;                     // 1..250 once read, 0 for none
    // Date (day, month, year), then four times of day (hours, minutes, seconds).
    std::array<std::uint8_t, 15> time{};

    static bool isMissing(float value) { return !(value > kMissingLimit); }
    // The sample of (row, channel); missing outside the page.
    float sample(int row, int channel) const;
    bool hasSample(int row, int channel) const { return !isMissing(sample(row, channel)); }
    void setSample(int row, int channel, float value);

    // "6 / 12 / 26": the date as the page shows it.
    QString dateText() const;
    // "14 : 5 : 0": time of day k (0..3); empty for another k.
    QString timeText(int k) const;
    // Seconds since midnight of time of day k, -1 when k is out of range.
    int timeSeconds(int k) const;
    // Whether the page carries times at all (a page never read holds zeros).
    bool hasTimes() const;

    // A group on display shows channels 4g .. 4g + 3.
    static int firstChannelOf(int group) { return kChannelsPerGroup * group; }
    // Group after or before g, wrapping at the ends.
    static int nextGroup(int group) { return group >= kGroups - 1 ? 0 : group + 1; }
    static int previousGroup(int group) { return group <= 0 ? kGroups - 1 : group - 1; }
};

// A page number as a user or a caller gives it, brought into 1..250 whatever its
// size: below 1 becomes 1, above 250 becomes 250.
int clampPageNumber(long long page);
// The number a page field starts with, read with a point as the decimal
// separator and rounded, then clamped: "12abc" is 12, "abc" is 1, "999" is 250,
// and numbers of any length are clamped rather than wrapped.
int pageNumberFromText(const QString &text);

} // namespace z5
