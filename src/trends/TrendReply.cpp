#include "trends/TrendReply.h"

namespace z5 {
namespace {

// Byte positions, counted from 0.
constexpr std::size_t kPageAt = 2;
constexpr std::size_t kRowsAt = 3;
constexpr std::size_t kRecordingPageAt = 4;
constexpr std::size_t kFirstSampleAt = 8;
constexpr std::size_t kSecondsAt = 1044;   // then minutes, then hours
constexpr std::size_t kDayAt = 1048;       // then month, then year

} // namespace

float decodeTrendSample(const std::uint8_t *b) {
    const std::uint32_t raw = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                              (std::uint32_t(b[3]) << 24);
    const std::int64_t value = raw > 0x7FFFFFFFu ? std::int64_t(raw) - 4294967296LL : std::int64_t(raw);
    return static_cast<float>(static_cast<double>(value) / 1000.0);
}

std::optional<TrendPart> decodeTrendPart(const std::uint8_t *data, std::size_t size) {
    if (data == nullptr || size < static_cast<std::size_t>(wire::kTrendPartLength)) return std::nullopt;
    TrendPart part;
    part.pageNumber = data[kPageAt] + 1;
    part.rowsRecorded = data[kRowsAt];
    part.recordingPage = data[kRecordingPageAt] + 1;
    for (std::size_t i = 0; i < static_cast<std::size_t>(TrendPart::kSamples); ++i)
        part.samples[i] = decodeTrendSample(data + kFirstSampleAt + 4 * i);
    part.timeOfDay = {data[kSecondsAt + 2], data[kSecondsAt + 1], data[kSecondsAt]};
    part.date = {data[kDayAt], data[kDayAt + 1], data[kDayAt + 2]};
    return part;
}

std::optional<TrendPart> decodeTrendPart(const QByteArray &bytes) {
    return decodeTrendPart(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
}

} // namespace z5
