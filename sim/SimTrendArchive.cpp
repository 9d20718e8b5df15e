#include "SimTrendArchive.h"
#include "SimWire.h"
#include <cmath>

namespace z5sim {

SimTrendArchive::SimTrendArchive()
    // Recording is under way in page 3, 45 rows in, the ring's second round: pages 4 to 250
    // hold the first round's last pages, the week before.
    : basePosition_((kPages + 2) * kRows + 45), archiveStart_(QDate(2026, 12, 7), QTime(8, 0, 0)) {}

std::int64_t SimTrendArchive::roundOf(int page, std::int64_t nowMs) const {
    const std::int64_t current = position(nowMs) / kRows;
    const std::int64_t behind = ((current - (page - 1)) % kPages + kPages) % kPages;
    return current - behind;
}

void SimTrendArchive::rollToNextPage(std::int64_t nowMs) {
    basePosition_ = (position(nowMs) / kRows + 1) * kRows;
    sinceMs_ = nowMs;
}

std::int64_t SimTrendArchive::position(std::int64_t nowMs) const {
    if (!recording_ || nowMs < sinceMs_) return basePosition_;
    return basePosition_ + (nowMs - sinceMs_) / kRowPeriodMs;
}

void SimTrendArchive::setRecording(bool on, std::int64_t nowMs) {
    basePosition_ = position(nowMs);
    sinceMs_ = nowMs;
    recording_ = on;
}

int SimTrendArchive::recordingPage(std::int64_t nowMs) const {
    return static_cast<int>((position(nowMs) / kRows) % kPages) + 1;
}

int SimTrendArchive::rowsRecorded(std::int64_t nowMs) const { return static_cast<int>(position(nowMs) % kRows); }

std::int32_t SimTrendArchive::sample(int page, int row, int channel, std::int64_t nowMs) const {
    if (page == recordingPage(nowMs) && row >= rowsRecorded(nowMs)) return kMissing;
    // Counted from the first page of the present round, so pages 1 to 3 hold what they always did.
    const double t = double((roundOf(page, nowMs) - kPages) * kRows + row);
    const double value = (channel + 1) * 10.0 + 5.0 * std::sin(2.0 * M_PI * t / 120.0 + channel * 0.7);
    return static_cast<std::int32_t>(std::lround(value * 1000.0));
}

QByteArray SimTrendArchive::part(int station, int requestedPage, int partIndex, std::int64_t nowMs) const {
    const int current = recordingPage(nowMs);
    const int page = requestedPage == 0 ? current : qBound(1, requestedPage, kPages);
    QByteArray out(kPartLength, '\0');
    out[0] = char(station);
    out[1] = 0x03;
    out[2] = char(page - 1);
    out[3] = char(rowsRecorded(nowMs));
    out[4] = char(current - 1);
    out[5] = char(partIndex);
    for (int i = 0; i < kSamplesPerPart; ++i) {
        const int s = partIndex * kSamplesPerPart + i;
        SimWire::putRaw(out, 8 + 4 * i, sample(page, s / kChannels, s % kChannels, nowMs));
    }
    const int firstRow = partIndex * kSamplesPerPart / kChannels;
    const QDateTime at =
        archiveStart_.addSecs(((roundOf(page, nowMs) - kPages) * kRows + firstRow) * (kRowPeriodMs / 1000));
    out[1044] = char(at.time().second());
    out[1045] = char(at.time().minute());
    out[1046] = char(at.time().hour());
    out[1048] = char(at.date().day());
    out[1049] = char(at.date().month());
    out[1050] = char(at.date().year() % 100);
    return out;
}

} // namespace z5sim
