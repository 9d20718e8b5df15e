// The traffic log sits on the line: recording a transfer must cost far less
// than the 100 ms between a header and its data. Measured for the transfers of
// a download into a full ring, and for the text line of a long data block.
#include "link/Link.h"
#include "link/TrafficLog.h"
#include "link/TrafficText.h"
#include "model/VirtualClock.h"
#include <benchmark/benchmark.h>
#include <vector>

namespace {

QByteArray header(int table) {
    QByteArray f(6, '\0');
    f[0] = 1;
    f[1] = static_cast<char>(0x33 + table);
    const int len = z5::Link::tableLengthField(table);
    f[2] = static_cast<char>(len >> 8);
    f[3] = static_cast<char>(len & 0xFF);
    const std::uint16_t crc = z5::Link::checkValueOf(f);
    f.append(static_cast<char>(crc >> 8));
    f.append(static_cast<char>(crc & 0xFF));
    return f;
}

std::vector<QByteArray> downloadTransfers() {
    std::vector<QByteArray> out;
    for (int t = 0; t <= 11; ++t) {
        out.push_back(header(t));
        out.push_back(QByteArray(z5::Link::tableDataCount(t) + (t <= 1 ? 1 : 0), '\x01'));
    }
    return out;
}

void BM_RecordDownloadIntoFullRing(benchmark::State &state) {
    z5::VirtualClock clock;
    z5::TrafficLog log(clock);
    const std::vector<QByteArray> transfers = downloadTransfers();
    for (int i = 0; i < z5::TrafficLog::kDefaultCapacity; ++i) log.recordSent(transfers[i % transfers.size()]);
    for (auto _ : state)
        for (const QByteArray &t : transfers) log.recordSent(t);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(transfers.size()));
}
BENCHMARK(BM_RecordDownloadIntoFullRing);

void BM_TextLineOfParameterTable(benchmark::State &state) {
    z5::VirtualClock clock;
    z5::TrafficLog log(clock);
    log.recordSent(header(10));
    log.recordSent(QByteArray(16824, '\x05'));
    for (auto _ : state) benchmark::DoNotOptimize(z5::TrafficText::line(log.at(1)));
}
BENCHMARK(BM_TextLineOfParameterTable);

} // namespace

BENCHMARK_MAIN();
