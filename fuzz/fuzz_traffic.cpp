// Every byte on the line goes through the traffic classifier and, for a trace or
// the monitor's save, through the text form. Any sequence of sent and received
// chunks, exchange ends and closes: each transfer is kept once with exactly its
// bytes, and the text has one line per transfer whose fields read back.
#include "link/TrafficLog.h"
#include "link/TrafficText.h"
#include "model/VirtualClock.h"
#include <QStringList>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return 0;
    z5::VirtualClock clock;
    z5::TrafficLog log(clock, 1 << 20);
    // Byte 0 says which columns hold a trend recorder.
    const int recorderStep = 1 + data[0] % 16;
    log.setBlockTypes([recorderStep](int column) { return column % recorderStep == 0 ? 28 : column % 35; });
    QByteArray sent, received;
    int records = 0;
    std::size_t at = 1;
    while (at < size) {
        const int control = data[at++];
        // Lengths up to a trend part and beyond.
        const int length = (control >> 3) == 31 && at < size ? 1000 + data[at++] * 4 : (control >> 3) * 9;
        const int n = int(std::min<std::size_t>(std::size_t(length), size - at));
        const QByteArray chunk(reinterpret_cast<const char *>(data + at), n);
        at += std::size_t(n);
        clock.advance(control & 0x07);
        switch (control & 0x07) {
        case 6: log.exchangeEnded(); continue;
        case 7: log.lineClosed(); continue;
        default: break;
        }
        if (chunk.isEmpty()) continue;
        if (control & 0x01) {
            log.recordSent(chunk);
            sent += chunk;
        } else {
            log.recordReceived(chunk);
            received += chunk;
        }
        ++records;
    }
    if (log.size() != records) std::abort();
    QByteArray keptSent, keptReceived;
    for (int i = 0; i < log.size(); ++i) {
        const z5::TrafficRecord &r = log.at(i);
        (r.direction == z5::TrafficDirection::Sent ? keptSent : keptReceived) += r.bytes;
        if (int(r.kind) >= z5::kTrafficKindCount) std::abort();
    }
    if (keptSent != sent || keptReceived != received) std::abort();

    const QStringList lines = QString::fromUtf8(z5::TrafficText::text(log)).split(QLatin1Char('\n'));
    if (lines.size() != records + 1 || !lines.last().isEmpty()) std::abort();
    for (int i = 0; i < records; ++i) {
        const z5::TrafficRecord &r = log.at(i);
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        if (fields.size() != 6) std::abort();
        if (fields[0] != QString::number(r.ms) || fields[3] != QString::number(r.bytes.size())) std::abort();
        if (QByteArray::fromHex(fields[5].toLatin1()) != r.bytes) std::abort();
    }
    return 0;
}
