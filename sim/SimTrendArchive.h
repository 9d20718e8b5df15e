#pragma once
#include <QByteArray>
#include <QDateTime>
#include <cstdint>

namespace z5sim {

// The trend recorder's archive: a ring of 250 pages of 240 rows of 32 channels,
// one row every ten seconds while recording runs. Recording fills the pages in
// turn and wraps from 250 to 1, so the pages after the one being recorded hold
// the ring's previous round: every page carries its own date and times of day.
// Old pages hold synthesised curves, the same for a page whatever the moment.
class SimTrendArchive {
public:
    static constexpr int kPages = 250;
    static constexpr int kRows = 240;
    static constexpr int kChannels = 32;
    static constexpr int kParts = 30;
    static constexpr int kSamplesPerPart = 256;
    static constexpr int kPartLength = 1064;
    static constexpr int kRowPeriodMs = 10000;
    static constexpr std::int32_t kMissing = -2100000000;   // no value recorded

    SimTrendArchive();

    void setRecording(bool on, std::int64_t nowMs);
    bool recording() const { return recording_; }
    int recordingPage(std::int64_t nowMs) const;       // 1..250
    int rowsRecorded(std::int64_t nowMs) const;        // in the recording page
    // Recording goes on at the first row of the next page (wrapping after 250).
    void rollToNextPage(std::int64_t nowMs);

    // One of the 30 pieces (0..29) of a page (0 asks for the page being recorded), as the
    // controller sends it: 1064 bytes, no check value.
    QByteArray part(int station, int requestedPage, int part, std::int64_t nowMs) const;
    // The recorded integer of a sample (value x 1000), kMissing when none.
    std::int32_t sample(int page, int row, int channel, std::int64_t nowMs) const;

private:
    std::int64_t position(std::int64_t nowMs) const;   // rows recorded since the archive began
    // Which round of the ring `page` holds now, counted in pages since the archive
    // began.
    std::int64_t roundOf(int page, std::int64_t nowMs) const;

    bool recording_ = true;
    std::int64_t basePosition_;
    std::int64_t sinceMs_ = 0;
    QDateTime archiveStart_;
};

} // namespace z5sim
