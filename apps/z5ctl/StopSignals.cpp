#include "StopSignals.h"
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <csignal>

namespace z5ctl {

namespace {

volatile std::sig_atomic_t g_signal = 0;
bool g_reported = false;

void onStop(int signal) { g_signal = signal; }

// Often enough that a stop feels immediate, rarely enough to cost nothing.
constexpr int kCheckMs = 25;

} // namespace

void StopSignals::install() {
    struct sigaction action {};
    action.sa_handler = onStop;
    sigemptyset(&action.sa_mask);
    // The second signal finds the default in place and ends the program.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
    // A pipe whose reader is gone is noticed on the write and ends the verb
    // like a stop, so that the trace is still written.
    std::signal(SIGPIPE, SIG_IGN);
}

int StopSignals::received() { return g_signal; }

int StopSignals::exitStatus() { return 128 + g_signal; }

void StopSignals::markReported() { g_reported = true; }

bool StopSignals::reported() { return g_reported; }

bool StopSignals::sleep(int ms) {
    QElapsedTimer slept;
    slept.start();
    while (g_signal == 0) {
        const qint64 rest = ms - slept.elapsed();
        if (rest <= 0) return true;
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(rest, kCheckMs)));
    }
    return false;
}

void StopSignals::quitOnStop(QEventLoop &loop) {
    auto *check = new QTimer(&loop);
    QObject::connect(check, &QTimer::timeout, &loop, [&loop] {
        if (g_signal != 0) loop.quit();
    });
    check->start(kCheckMs);
}

} // namespace z5ctl
