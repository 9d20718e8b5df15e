#include "trends/TrendPartSearch.h"
#include "trends/TrendReply.h"

namespace z5 {
namespace {

constexpr int kPageAt = 2;
constexpr int kSecondsAt = 1044;   // then minutes, then hours
constexpr int kDayAt = 1048;       // then month, then year

} // namespace

bool TrendPartSearch::fits(const QByteArray &bytes, int at, int expectedPage) {
    if (at < 0 || at + wire::kTrendPartLength > bytes.size()) return false;
    auto byteAt = [&](int i) { return static_cast<unsigned char>(bytes.at(at + i)); };
    if (expectedPage > 0 && byteAt(kPageAt) + 1 != expectedPage) return false;
    const int seconds = byteAt(kSecondsAt), minutes = byteAt(kSecondsAt + 1), hours = byteAt(kSecondsAt + 2);
    if (hours > 23 || minutes > 59 || seconds > 59) return false;
    const int day = byteAt(kDayAt), month = byteAt(kDayAt + 1), year = byteAt(kDayAt + 2);
    if (day == 0 && month == 0 && year == 0) return true;
    return day >= 1 && day <= 31 && month >= 1 && month <= 12 && year <= 99;
}

std::vector<int> TrendPartSearch::fittingOffsets(const QByteArray &bytes, int expectedPage) {
    std::vector<int> offsets;
    for (int at = 0; at + wire::kTrendPartLength <= bytes.size(); ++at)
        if (fits(bytes, at, expectedPage)) offsets.push_back(at);
    return offsets;
}

} // namespace z5
