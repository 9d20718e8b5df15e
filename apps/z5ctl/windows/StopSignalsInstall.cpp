#include "StopSignals.h"
#include <csignal>
#include <initializer_list>

namespace z5ctl {

namespace {

// The runtime puts the default back before it calls the handler, so a second
// Ctrl+C ends the program at once.
void onStop(int signal) { StopSignals::note(signal); }

} // namespace

// Windows has no hang-up or broken-pipe signal: Ctrl+C (and Ctrl+Break, which
// the runtime also reports as SIGINT) and SIGTERM ask the verb to stop.
void StopSignals::install() {
    for (const int s : {SIGINT, SIGTERM}) std::signal(s, onStop);
}

// Windows has no SIGPIPE; the status is the one documented for every system.
int StopSignals::outputLostStatus() { return 128 + 13; }

} // namespace z5ctl
