// Trend page replies as the line delivers them: any bytes, in pieces of any
// size, for a page read of 30 parts on the virtual clock. Each part decodes
// inside its 1064 bytes, a read ends exactly once within its stall bound, and a
// complete page needs at least 30 parts' worth of input.
#include "model/VirtualClock.h"
#include "trends/TrendPage.h"
#include "trends/TrendPageAssembler.h"
#include "trends/TrendReply.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return 0;
    const QByteArray stream(reinterpret_cast<const char *>(data + 2), static_cast<int>(size - 2));
    for (int at = 0; at < stream.size(); at += z5::wire::kTrendPartLength)
        (void)z5::decodeTrendPart(reinterpret_cast<const std::uint8_t *>(stream.constData()) + at,
                                  std::size_t(stream.size() - at));

    // data[0]: bytes handed over per look at the line (0: all at once);
    // data[1]: looks at the line between requests that find nothing.
    const int piece = data[0] == 0 ? stream.size() : data[0] * 16;
    const int idleLooks = data[1] % 8;
    z5::VirtualClock clock;
    int taken = 0;
    int idle = 0;
    int requests = 0;
    z5::TrendPageAssembler::Line line;
    line.sendPart = [&](int part, int page) {
        if (part < 0 || part >= z5::TrendPageAssembler::kParts || page < 0 || page > 256) std::abort();
        ++requests;
        idle = idleLooks;
        return true;
    };
    line.takeInput = [&] {
        if (idle > 0) {
            --idle;
            return QByteArray();
        }
        const QByteArray out = stream.mid(taken, piece);
        taken += int(out.size());
        return out;
    };
    z5::TrendPageAssembler assembler(clock, line);
    int completed = 0;
    int failed = 0;
    QObject::connect(&assembler, &z5::TrendPageAssembler::pageComplete, [&](const z5::TrendPage &) { ++completed; });
    QObject::connect(&assembler, &z5::TrendPageAssembler::readFailed, [&](z5::LineOutcome) { ++failed; });
    if (!assembler.start(data[1] % 4 == 0 ? 0 : data[1])) std::abort();
    // Every part may take the whole stall time; nothing may go on past that.
    const std::int64_t bound = std::int64_t(z5::TrendPageAssembler::kParts + 1) * z5::TrendPageAssembler::kStallMs;
    while (assembler.isReading() && clock.nowMs() < bound) clock.advance(z5::TrendPageAssembler::kPollMs);
    if (assembler.isReading() || completed + failed != 1) std::abort();
    if (completed == 1 && taken < z5::TrendPageAssembler::kParts * z5::wire::kTrendPartLength) std::abort();
    return 0;
}
