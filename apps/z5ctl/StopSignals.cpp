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

// Often enough that a stop feels immediate, rarely enough to cost nothing.
constexpr int kCheckMs = 25;

} // namespace

// install() is the platform's (posix/, windows/): it routes the stop signals to note().

void StopSignals::note(int signal) { g_signal = signal; }

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
