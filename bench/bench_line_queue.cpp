// The line's queue: queueing a request and handing back its reply object must
// cost far less than the line time of the reply itself (about 23 ms for 260
// bytes). Measured on the virtual clock with a far end that answers at once,
// so that what is timed is the owner's own work: the frame, the queue, the
// reception and the reply object.
#include "ReplyFrames.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "model/VirtualClock.h"
#include <benchmark/benchmark.h>

namespace {

void BM_QueueARequestAndTakeItsReply(benchmark::State &state) {
    z5::VirtualClock clock;
    z5::FakeSerialPort port(&clock);
    port.notifiesArrivals = true;
    port.replyDelayMs = 30;
    const QByteArray answer = z5::testframes::blockReply(7);
    port.responder = [&answer](const QByteArray &) { return answer; };
    z5::LineSession line(port, clock);
    for (auto _ : state) {
        const auto reply = line.enqueue(z5::Request::blockRead(6));
        clock.advance(30);
        if (reply->outcome() != z5::LineOutcome::Reply) state.SkipWithError("no reply");
        benchmark::DoNotOptimize(reply->bytes().size());
    }
}
BENCHMARK(BM_QueueARequestAndTakeItsReply);

// Requests queued behind the one under way, the newer reads replacing the waiting one.
void BM_QueueBehindAReadUnderWay(benchmark::State &state) {
    z5::VirtualClock clock;
    z5::FakeSerialPort port(&clock);
    port.silent = true;
    z5::LineSession line(port, clock);
    const auto underWay = line.enqueue(z5::Request::blockRead(0));
    for (auto _ : state) benchmark::DoNotOptimize(line.enqueue(z5::Request::blockRead(1)).get());
    line.cancelQueue();
}
BENCHMARK(BM_QueueBehindAReadUnderWay);

} // namespace

BENCHMARK_MAIN();
