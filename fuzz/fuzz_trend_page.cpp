// A trend page read where any junk comes with the parts: before and after each
// answer in the same burst, answers lost, bursts split in two. The input says,
// request by request, what the line does. A page that completes holds exactly the
// samples that were sent, each at its own offset, whatever came between them.
#include "TrendRig.h"
#include "model/VirtualClock.h"
#include "trends/TrendPage.h"
#include "trends/TrendPageAssembler.h"
#include <cstdlib>
#include <map>

namespace {

struct Script {
    const std::uint8_t *data;
    std::size_t size;
    std::size_t at = 0;
    int next() { return at < size ? data[at++] : -1; }
    QByteArray take(int n) {
        QByteArray out;
        while (n-- > 0 && at < size) out.append(char(data[at++]));
        return out;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return 0;
    const int page = 1 + data[0] % 250;
    Script script{data + 1, size - 1};
    z5::VirtualClock clock;
    std::multimap<std::int64_t, QByteArray> pending;
    z5::TrendPageAssembler::Line line;
    line.sendPart = [&](int part, int asked) {
        if (part < 0 || part >= z5::TrendPageAssembler::kParts) std::abort();
        // The first request asks for the page itself, every later one by its number.
        if (asked != page) std::abort();
        const int control = script.next();
        if (control < 0 || control % 8 == 0) return true;   // lost (and the script, once spent, loses all)
        const QByteArray before = script.take(control % 8 == 1 ? script.next() : (control >> 3) % 4);
        const QByteArray after = script.take((control >> 5) % 8 == 7 ? script.next() : 0);
        // Another page is being recorded, so this one is full.
        const QByteArray burst = before + z5::testing::trendPart(page, part, 45, page == 1 ? 2 : 1) + after;
        const std::int64_t due = clock.nowMs() + z5::testing::ScriptedRecorder::kAnswerMs;
        // Split in two with a gap shorter than a look at the line, or sent whole.
        const int split = (control & 0x40) ? burst.size() / 2 : burst.size();
        pending.emplace(due, burst.left(split));
        if (split < burst.size()) pending.emplace(due + control % 4, burst.mid(split));
        return true;
    };
    line.takeInput = [&] {
        QByteArray out;
        while (!pending.empty() && pending.begin()->first <= clock.nowMs()) {
            out += pending.begin()->second;
            pending.erase(pending.begin());
        }
        return out;
    };
    z5::TrendPageAssembler assembler(clock, line);
    int completed = 0, failed = 0;
    z5::TrendPage got;
    QObject::connect(&assembler, &z5::TrendPageAssembler::pageComplete, [&](const z5::TrendPage &p) {
        ++completed;
        got = p;
    });
    QObject::connect(&assembler, &z5::TrendPageAssembler::readFailed, [&](z5::LineOutcome) { ++failed; });
    if (!assembler.start(page)) std::abort();
    const std::int64_t bound = std::int64_t(z5::TrendPageAssembler::kParts + 1) * z5::TrendPageAssembler::kStallMs;
    while (assembler.isReading() && clock.nowMs() < bound) clock.advance(z5::TrendPageAssembler::kPollMs);
    if (assembler.isReading() || completed + failed != 1) std::abort();
    if (completed == 0) return 0;
    if (got.pageNumber != page || got.rowCount != z5::TrendPage::kRows) std::abort();
    for (int r = 0; r < z5::TrendPage::kRows; ++r)
        for (int c = 0; c < z5::TrendPage::kChannels; ++c)
            if (!got.hasSample(r, c) || got.sample(r, c) != float(z5::testing::archiveSample(page, r, c) / 1000.0))
                std::abort();
    return 0;
}
