#include "SimArguments.h"
#include <algorithm>
#include <cstdlib>

namespace z5sim {
namespace {

constexpr int kMostNumber = 1000000;
constexpr int kLastStation = 255;

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

bool isFlag(const std::string &o) { return o == "--line-speed" || o == "--instant"; }

bool takesText(const std::string &o) { return o == "--link" || o == "--timeline"; }

bool takesStations(const std::string &o) { return o == "--station" || o == "--damaged"; }

// Options whose number counts something that must be there: 0 makes no sense.
bool wantsOneOrMore(const std::string &o) { return o == "--late-count" || o == "--drop-every" || o == "--fault-cycle" || o == "--roll-every";
}

bool takesNumber(const std::string &o) {
    static const char *const kNumbers[] = {"--reply-delay", "--late", "--late-count", "--drop", "--drop-every", "--corrupt",
                                           "--short", "--stray", "--fault-cycle", "--twice", "--roll-every"};
    return std::find(std::begin(kNumbers), std::end(kNumbers), o) != std::end(kNumbers);
}

// "1,3,5": the stations, each 1..255; empty when the list is not one.
std::vector<int> stationList(const std::string &text) {
    std::vector<int> stations;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string item = text.substr(from, comma - from);
        char *end = nullptr;
        const long n = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || !end || *end != '\0' || item.find_first_not_of("0123456789") != std::string::npos || n < 1 ||
            n > kLastStation)
            return {};
        stations.push_back(int(n));
        from = comma + 1;
    }
    return stations;
}

} // namespace

void SimArguments::usage(std::FILE *to) {
    std::fprintf(to,
                 "usage: z5-sim [--station N[,N...]] [--link PATH] [--timeline FILE] [--line-speed | --instant]\n"
                 "              [--reply-delay MS] [--twice MS] [--late MS [--late-count N]] [--drop N] [--drop-every N]\n"
                 "              [--corrupt N] [--damaged N[,N...]] [--short N] [--stray N] [--fault-cycle SECONDS]\n"
                 "              [--roll-every MS]\n"
                 "       z5-sim --help | --version\n"
                 "A simulated Z5 controller on a pseudo-terminal: prints the terminal's device path on\n"
                 "the first line and serves until SIGINT, SIGTERM or SIGHUP.\n"
                 "  --station N,...  answer station N (1..8, default 1); a list puts one controller per\n"
                 "                   station on the line (--station 1,3,5), each with its own memory;\n"
                 "                   a number listed twice is two controllers set to it (--station 2,2)\n"
                 "  --link PATH      make PATH a symbolic link to the pseudo-terminal\n"
                 "  --timeline FILE  write one JSON object per frame, data block and reply\n"
                 "  --line-speed     send replies no faster than 115200 bit/s, in pieces\n"
                 "                   (without it a reply comes whole once the wire would have carried it)\n"
                 "  --instant        reply as soon as the request is read: no turnaround, no wire time\n"
                 "                   (a simulator on a virtual null-modem)\n"
                 "  --reply-delay MS the controller's turnaround before a reply (default 5)\n"
                 "  --twice MS       send every reply again MS after its end (an echoing converter; 0 back to back)\n"
                 "  --late MS        answer every request MS later (fault)\n"
                 "  --late-count N   only the next N replies are late (with --late; 1 or more)\n"
                 "  --drop N         do not send the next N replies (fault)\n"
                 "  --drop-every N   do not send every Nth reply (fault; 1 or more)\n"
                 "  --corrupt N      spoil the check value of the next N block replies (fault)\n"
                 "  --damaged N,...  spoil the check value of every block reply of these stations (fault)\n"
                 "  --short N        cut the last byte of the next N replies (fault)\n"
                 "  --stray N        send N bytes of line noise before every trend part (fault)\n"
                 "  --fault-cycle S  every S seconds (1 or more, and on SIGUSR1) move to the next of:\n"
                 "                   none, drop, late, corrupt, short, silence\n"
                 "  --roll-every MS  every MS milliseconds (1 or more, and on SIGUSR2) the trend recorder\n"
                 "                   goes on recording at the start of the next page of its 250\n"
                 "A wrong command line exits with status 2.\n"
                 "examples:\n"
                 "  z5-sim --link /tmp/z5 --line-speed &\n"
                 "  z5-sim --link /tmp/z5 --station 1,3,3 --damaged 5 &\n");
}

bool SimArguments::wrong(const std::string &why) {
    error_ = why;
    return false;
}

SimArguments::Asked SimArguments::parse(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--help" || opt == "-h") return Asked::Help;
        if (opt == "--version") return Asked::Version;
        if (opt.rfind("--", 0) != 0) {
            wrong("unexpected '" + printable(opt) + "'");
            return Asked::Wrong;
        }
        if (!isFlag(opt) && !takesText(opt) && !takesStations(opt) && !takesNumber(opt)) {
            wrong("unknown option " + printable(opt));
            return Asked::Wrong;
        }
        if (std::find(given_.begin(), given_.end(), opt) != given_.end()) {
            wrong(opt == "--station" ? "--station is given twice: list the stations in one (--station 1,3,5)"
                                     : opt + " is given twice");
            return Asked::Wrong;
        }
        given_.push_back(opt);
        if (isFlag(opt)) {
            (opt == "--instant" ? line.instant : line.lineSpeed) = true;
            continue;
        }
        if (i + 1 >= argc) {
            wrong(opt + " needs a value");
            return Asked::Wrong;
        }
        if (!take(opt, argv[++i])) return Asked::Wrong;
    }
    return finish() ? Asked::Run : Asked::Wrong;
}

bool SimArguments::take(const std::string &option, const std::string &value) {
    if (option == "--link") link = value;
    else if (option == "--timeline") timeline = value;
    else if (takesStations(option)) {
        const std::vector<int> stations = stationList(value);
        if (stations.empty())
            return wrong(option + " is a list of stations 1.." + std::to_string(kLastStation) + " such as 1,3,5, not '" +
                         printable(value) + "'");
        (option == "--station" ? stations_ : damaged_) = stations;
    } else {
        return takeNumber(option, value);
    }
    return true;
}

bool SimArguments::takeNumber(const std::string &option, const std::string &value) {
    char *end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    const bool digits = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || !end || *end != '\0') return wrong(option + " wants a number, not '" + printable(value) + "'");
    if (n > kMostNumber) return wrong(option + " is at most " + std::to_string(kMostNumber));
    if (n == 0 && wantsOneOrMore(option)) return wrong(option + " is 1 or more (0 makes no sense: leave it out)");
    const int v = int(n);
    if (option == "--reply-delay") faults_.replyDelayMs = v;
    else if (option == "--late") faults_.lateMs = v;
    else if (option == "--late-count") faults_.lateReplies = v;
    else if (option == "--drop") faults_.dropReplies = v;
    else if (option == "--drop-every") faults_.dropEvery = v;
    else if (option == "--corrupt") faults_.corruptReplies = v;
    else if (option == "--short") faults_.shortReplies = v;
    else if (option == "--stray") faults_.strayBytes = v;
    else if (option == "--fault-cycle") faultCycleSeconds = v;
    else if (option == "--twice") line.twiceMs = v;
    else if (option == "--roll-every") rollEveryMs = v;
    return true;
}

bool SimArguments::finish() {
    const auto given = [this](const char *o) { return std::find(given_.begin(), given_.end(), o) != given_.end(); };
    if (given("--late-count") && !given("--late")) return wrong("--late-count applies only with --late");
    if (line.instant && line.lineSpeed) return wrong("--instant or --line-speed, not both");
    if (line.instant && given("--reply-delay")) return wrong("--instant or --reply-delay, not both");
    for (const int d : damaged_)
        if (std::find(stations_.begin(), stations_.end(), d) == stations_.end())
            return wrong("--damaged " + std::to_string(d) + ": no such station on the line (see --station)");
    if (line.instant) faults_.replyDelayMs = 0;
    controllers.clear();
    for (auto it = stations_.begin(); it != stations_.end(); ++it) {
        const int station = *it;
        SimOptions o = faults_;
        o.station = station;
        // The controllers set to this station before this one.
        o.unit = int(std::count(stations_.begin(), it, station));
        o.damaged = std::find(damaged_.begin(), damaged_.end(), station) != damaged_.end();
        controllers.push_back(o);
    }
    return true;
}

} // namespace z5sim
