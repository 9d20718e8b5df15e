// z5-sim: a simulated Z5 controller on a pseudo-terminal. Prints the terminal's
// device path on the first line of standard output and serves until killed.
#include "SimArguments.h"
#include "SimFaultCycle.h"
#include "SimLine.h"
#include "SimTimeline.h"
#include "SimTrendArchive.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }
volatile std::sig_atomic_t g_nextFault = 0;
void onNextFault(int) { g_nextFault = 1; }
volatile std::sig_atomic_t g_roll = 0;
void onRoll(int) { g_roll = 1; }

std::int64_t nowMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv) {
    z5sim::SimArguments args;
    switch (args.parse(argc, argv)) {
    case z5sim::SimArguments::Asked::Help: z5sim::SimArguments::usage(stdout); return 0;
    case z5sim::SimArguments::Asked::Version: std::printf("z5-sim %s\n", Z5_VERSION); return 0;
    case z5sim::SimArguments::Asked::Wrong:
        std::fprintf(stderr, "z5-sim: %s\nz5-sim --help shows the options\n", args.error().c_str());
        return z5sim::SimArguments::kUsageStatus;
    case z5sim::SimArguments::Asked::Run: break;
    }
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("z5-sim: pseudo-terminal");
        return 1;
    }
    const std::string slavePath = ::ptsname(master);
    // Holding the far side open keeps the terminal alive between the clients'
    // opens and closes (otherwise the master side reports hang-ups).
    const int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (slave < 0 || ::tcgetattr(slave, &tio) != 0) {
        std::perror("z5-sim: terminal settings");
        return 1;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B115200);
    ::cfsetospeed(&tio, B115200);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!args.link.empty()) {
        ::unlink(args.link.c_str());
        if (::symlink(slavePath.c_str(), args.link.c_str()) != 0) {
            std::perror("z5-sim: --link");
            return 1;
        }
    }
    z5sim::SimTimeline timeline;
    if (!args.timeline.empty() && !timeline.open(QFile::decodeName(args.timeline.c_str()))) {
        std::perror("z5-sim: --timeline");
        return 1;
    }
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGHUP, onSignal);
    std::signal(SIGUSR1, onNextFault);
    std::signal(SIGUSR2, onRoll);
    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);

    z5sim::SimLine line(args.controllers, args.line);
    line.onEvent = [&timeline](const QJsonObject &e) { timeline.write(e); };
    const auto start = std::chrono::steady_clock::now();

    int faultPhase = 0;
    std::int64_t nextPhaseMs = args.faultCycleSeconds > 0 ? std::int64_t(args.faultCycleSeconds) * 1000 : INT64_MAX;
    const auto advanceFaults = [&](std::int64_t at) {
        faultPhase = z5sim::SimFaultCycle::next(faultPhase);
        for (int i = 0; i < line.controllerCount(); ++i) z5sim::SimFaultCycle::apply(faultPhase, line.controller(i).options());
        timeline.write({{"what", "fault phase"}, {"phase", z5sim::SimFaultCycle::name(faultPhase)},
                        {"ms", static_cast<qint64>(at)}});
        if (args.faultCycleSeconds > 0) nextPhaseMs = at + std::int64_t(args.faultCycleSeconds) * 1000;
    };

    std::int64_t nextRollMs = args.rollEveryMs > 0 ? args.rollEveryMs : INT64_MAX;
    const auto roll = [&](std::int64_t at) {
        for (int i = 0; i < line.controllerCount(); ++i) {
            z5sim::SimTrendArchive &trends = line.controller(i).plant().trends();
            trends.rollToNextPage(at);
            timeline.write({{"what", "page rolled"}, {"page", trends.recordingPage(at)}, {"ms", static_cast<qint64>(at)}});
        }
        if (args.rollEveryMs > 0) nextRollMs = at + args.rollEveryMs;
    };

    char buffer[65536];
    while (!g_stop) {
        const std::int64_t now = nowMs(start);
        if (g_nextFault || now >= nextPhaseMs) {
            g_nextFault = 0;
            advanceFaults(now);
        }
        if (g_roll || now >= nextRollMs) {
            g_roll = 0;
            roll(now);
        }
        int timeout = int(std::clamp<std::int64_t>(std::min(nextPhaseMs, nextRollMs) - now, 0, 1000));
        if (line.hasOutgoing()) timeout = std::min(timeout, int(std::clamp<std::int64_t>(line.nextDueMs() - now, 0, 1000)));
        pollfd pfd{master, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, timeout);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (pfd.revents & POLLIN)) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            // An instant far end has its reply on the way before it looks at the line again.
            if (n > 0) line.receive(QByteArray(buffer, int(n)), nowMs(start));
        } else if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR))) {
            ::usleep(10000);
        }
        for (QByteArray piece = line.takeDue(nowMs(start)); !piece.isEmpty(); piece = line.takeDue(nowMs(start))) {
            const ssize_t n = ::write(master, piece.constData(), size_t(piece.size()));
            if (n < int(piece.size())) {
                // The terminal is full; the rest goes on the next round.
                line.keepUnsent(piece.mid(n < 0 ? 0 : int(n)));
                break;
            }
        }
    }
    if (!args.link.empty()) ::unlink(args.link.c_str());
    ::close(slave);
    ::close(master);
    return 0;
}
