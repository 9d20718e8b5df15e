#include "StopSignals.h"
#include <csignal>
#include <initializer_list>

namespace z5ctl {

namespace {

void onStop(int signal) { StopSignals::note(signal); }

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

int StopSignals::outputLostStatus() { return 128 + SIGPIPE; }

} // namespace z5ctl
