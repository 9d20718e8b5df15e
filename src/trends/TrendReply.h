#pragma once
#include "link/WireSizes.h"
#include <QByteArray>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace z5 {

// One part of a trend page as the controller sends it: wire::kTrendPartLength
// (1064) bytes with the page numbers in front, 256 samples (value x 1000, four bytes least significant
// first, two's complement) and the time of day and date of the part at the end.
struct TrendPart {
    static constexpr int kSamples = 256;

    int pageNumber = 0;          // the page this part belongs to, 1..256
    int rowsRecorded = 0;        // rows recorded so far in the page being recorded
    int recordingPage = 0;       // the page being recorded, 1..256
    std::array<float, kSamples> samples{};
    // Time of day of the part's first row: hours, minutes, seconds.
    std::array<std::uint8_t, 3> timeOfDay{};
    // Date: day, month, year.
    std::array<std::uint8_t, 3> date{};
};

// Decodes the first 1064 bytes of data; nothing when fewer arrived. Bytes after
// the first 1064 are not looked at.
std::optional<TrendPart> decodeTrendPart(const std::uint8_t *data, std::size_t size);
std::optional<TrendPart> decodeTrendPart(const QByteArray &bytes);

// The sample of four bytes in reply order: the signed 32-bit integer / 1000,
// rounded once to single precision.
float decodeTrendSample(const std::uint8_t *fourBytes);

} // namespace z5
