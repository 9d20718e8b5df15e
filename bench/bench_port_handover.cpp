// A port whose I/O runs on a thread of its own (the Windows port) hands each
// arrival to the owner's event loop: a block reply must be taken the moment it
// is complete, so the hand-over must cost a tiny part of the line time of its
// 260 bytes (22.6 ms at 115200 bit/s), where the reader's poll waited up to
// 150 ms. Measured from the reader thread's put to the owner's notice handler
// having taken the bytes.
#include "link/PortInbox.h"
#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <benchmark/benchmark.h>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

void BM_ReplyHandedToTheOwnersLoop(benchmark::State &state) {
    int argc = 1;
    char name[] = "bench_port_handover";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    z5::PortInbox inbox(64 * 1024);
    QObject owner;
    std::atomic<qsizetype> taken{0};
    inbox.setNotifier([&] {
        QMetaObject::invokeMethod(&owner, [&] {
            inbox.noticeTaken();
            taken += inbox.takeAll().size();
        }, Qt::QueuedConnection);
    });
    const QByteArray reply(260, '\x22');
    std::mutex mutex;
    std::condition_variable go;
    int requests = 0;
    bool done = false;
    std::thread reader([&] {
        int served = 0;
        for (;;) {
            std::unique_lock<std::mutex> lock(mutex);
            go.wait(lock, [&] { return done || requests > served; });
            if (done) return;
            ++served;
            lock.unlock();
            inbox.put(reply.constData(), reply.size());
        }
    });
    for (auto _ : state) {
        taken = 0;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            ++requests;
        }
        go.notify_one();
        while (taken < reply.size()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    {
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    go.notify_one();
    reader.join();
    inbox.setNotifier({});
}
BENCHMARK(BM_ReplyHandedToTheOwnersLoop)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
