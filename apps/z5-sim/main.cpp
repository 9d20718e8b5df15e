// z5-sim: a simulated Z5 controller on a pseudo-terminal. Prints the terminal's
// device path on the first line of standard output and serves until killed.
#include "SimController.h"
#include "SimFaultCycle.h"
#include "SimTimeline.h"
#include <QFile>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
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

struct Arguments {
    z5sim::SimOptions sim;
    std::string link;
    std::string timeline;
    bool lineSpeed = false;
    int faultCycleSeconds = 0;
};

void usage(std::FILE *to) {
    std::fprintf(to,
                 "usage: z5-sim [--station N] [--link PATH] [--timeline FILE] [--line-speed]\n"
                 "              [--reply-delay MS] [--late MS] [--late-count N] [--drop N] [--drop-every N]\n"
                 "              [--corrupt N] [--short N] [--stray N] [--fault-cycle SECONDS]\n"
                 "       z5-sim --help | --version\n"
                 "A simulated Z5 controller on a pseudo-terminal: prints the terminal's device path on\n"
                 "the first line and serves until SIGINT, SIGTERM or SIGHUP.\n"
                 "  --station N      answer station N (1..8, default 1)\n"
                 "  --link PATH      make PATH a symbolic link to the pseudo-terminal\n"
                 "  --timeline FILE  write one JSON object per frame, data block and reply\n"
                 "  --line-speed     send replies no faster than 115200 bit/s, in pieces\n"
                 "                   (without it a reply comes whole once the wire would have carried it)\n"
                 "  --reply-delay MS the controller's turnaround before a reply (default 5)\n"
                 "  --late MS        answer every request MS later (fault)\n"
                 "  --late-count N   only the next N replies are late (with --late)\n"
                 "  --drop N         do not send the next N replies (fault)\n"
                 "  --drop-every N   do not send every Nth reply (fault)\n"
                 "  --corrupt N      spoil the check value of the next N block replies (fault)\n"
                 "  --short N        cut the last byte of the next N replies (fault)\n"
                 "  --stray N        send N bytes of line noise before every trend part (fault)\n"
                 "  --fault-cycle S  every S seconds (and on SIGUSR1) move to the next of: none,\n"
                 "                   drop, late, corrupt, short, silence\n"
                 "example:\n"
                 "  z5-sim --link /tmp/z5 --line-speed &\n");
}

// An argument echoed in a message, its control characters shown escaped.
std::string printable(const std::string &text) {
    std::string shown;
    for (const unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

bool parse(int argc, char **argv, Arguments &a) {
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--line-speed") {
            a.lineSpeed = true;
            continue;
        }
        if (opt == "--help" || opt == "-h") {
            usage(stdout);
            std::exit(0);
        }
        if (opt == "--version") {
            std::printf("z5-sim %s\n", Z5_VERSION);
            std::exit(0);
        }
        if (opt.rfind("--", 0) != 0) {
            std::fprintf(stderr, "z5-sim: unexpected '%s'\n", printable(opt).c_str());
            return false;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "z5-sim: %s needs a value\n", printable(opt).c_str());
            return false;
        }
        const std::string value = argv[++i];
        char *end = nullptr;
        const long n = std::strtol(value.c_str(), &end, 10);
        const bool isNumber = end && *end == '\0' && !value.empty() && n >= 0 && n <= 1000000;
        if (opt == "--link") a.link = value;
        else if (opt == "--timeline") a.timeline = value;
        else if (!isNumber) {
            std::fprintf(stderr, "z5-sim: %s wants a number, not '%s'\n", printable(opt).c_str(), printable(value).c_str());
            return false;
        } else if (opt == "--station" && n >= 1 && n <= 255) a.sim.station = int(n);
        else if (opt == "--reply-delay") a.sim.replyDelayMs = int(n);
        else if (opt == "--late") a.sim.lateMs = int(n);
        else if (opt == "--late-count") a.sim.lateReplies = int(n);
        else if (opt == "--drop") a.sim.dropReplies = int(n);
        else if (opt == "--drop-every") a.sim.dropEvery = int(n);
        else if (opt == "--corrupt") a.sim.corruptReplies = int(n);
        else if (opt == "--short") a.sim.shortReplies = int(n);
        else if (opt == "--stray") a.sim.strayBytes = int(n);
        else if (opt == "--fault-cycle") a.faultCycleSeconds = int(n);
        else {
            std::fprintf(stderr, "z5-sim: unknown option or value: %s %s\n", printable(opt).c_str(), printable(value).c_str());
            return false;
        }
    }
    return true;
}

std::int64_t nowMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// Bytes waiting to go out, each piece at its time.
struct Outgoing {
    std::int64_t dueMs;
    QByteArray bytes;
};

} // namespace

int main(int argc, char **argv) {
    Arguments args;
    if (!parse(argc, argv, args)) {
        std::fprintf(stderr, "z5-sim --help shows the options\n");
        return 64;
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
    std::printf("%s\n", slavePath.c_str());
    std::fflush(stdout);

    z5sim::SimController controller(args.sim);
    controller.onEvent = [&timeline](const QJsonObject &e) { timeline.write(e); };
    const auto start = std::chrono::steady_clock::now();
    std::deque<Outgoing> outgoing;
    // At 115200 bit/s a byte takes 10 bits; paced pieces of 64 bytes.
    constexpr int kPiece = 64;
    constexpr int kRequestLength = 8;
    const auto lineMs = [](qsizetype bytes) { return std::int64_t(bytes * 10 * 1000 / 115200); };

    int faultPhase = 0;
    std::int64_t nextPhaseMs = args.faultCycleSeconds > 0 ? std::int64_t(args.faultCycleSeconds) * 1000 : INT64_MAX;
    const auto advanceFaults = [&](std::int64_t at) {
        faultPhase = z5sim::SimFaultCycle::next(faultPhase);
        z5sim::SimFaultCycle::apply(faultPhase, controller.options());
        timeline.write({{"what", "fault phase"}, {"phase", z5sim::SimFaultCycle::name(faultPhase)},
                        {"ms", static_cast<qint64>(at)}});
        if (args.faultCycleSeconds > 0) nextPhaseMs = at + std::int64_t(args.faultCycleSeconds) * 1000;
    };

    char buffer[65536];
    while (!g_stop) {
        const std::int64_t now = nowMs(start);
        if (g_nextFault || now >= nextPhaseMs) {
            g_nextFault = 0;
            advanceFaults(now);
        }
        int timeout = int(std::clamp<std::int64_t>(nextPhaseMs - now, 0, 1000));
        if (!outgoing.empty()) timeout = std::min(timeout, int(std::clamp<std::int64_t>(outgoing.front().dueMs - now, 0, 1000)));
        pollfd pfd{master, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, timeout);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && (pfd.revents & POLLIN)) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                const std::int64_t at = nowMs(start);
                for (const auto &o : controller.receive(QByteArray(buffer, int(n)), at)) {
                    // Never sooner than the request and the reply take on the wire: a
                    // terminal pair has no line speed, and a reply complete before
                    // then is taken by the configurator for a late one.
                    std::int64_t due = at + o.delayMs + (args.lineSpeed ? 0 : lineMs(kRequestLength + o.bytes.size()));
                    if (!outgoing.empty()) due = qMax(due, outgoing.back().dueMs);
                    const int step = args.lineSpeed ? kPiece : int(o.bytes.size());
                    for (int off = 0; off < o.bytes.size(); off += step)
                        outgoing.push_back({due + (args.lineSpeed ? lineMs(off) : 0), o.bytes.mid(off, step)});
                }
            }
        } else if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR))) {
            ::usleep(10000);
        }
        while (!outgoing.empty() && outgoing.front().dueMs <= nowMs(start)) {
            QByteArray &piece = outgoing.front().bytes;
            const ssize_t n = ::write(master, piece.constData(), size_t(piece.size()));
            if (n < 0) break;   // the terminal is full; try again on the next round
            piece.remove(0, int(n));
            if (piece.isEmpty()) outgoing.pop_front();
        }
    }
    if (!args.link.empty()) ::unlink(args.link.c_str());
    ::close(slave);
    ::close(master);
    return 0;
}
