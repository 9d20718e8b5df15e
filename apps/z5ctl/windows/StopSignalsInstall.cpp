#include "StopSignals.h"
#include "model/ProcessSetup.h"
#include <csignal>
#include <windows.h>

namespace z5ctl {

namespace {

// The runtime puts the default back before it calls the handler, so a second
// SIGTERM ends the program at once.
void onStop(int signal) { StopSignals::note(signal); }

// Ctrl+C and Ctrl+Break, told by the console on a thread of their own. The
// runtime's own handling would end the program at once on Ctrl+Break (SIGBREAK):
// both ask the verb to stop, as SIGINT, so that it still writes its rows and its
// trace. A second one ends the program at once, as usual, with the console's
// code pages put back first (the runtime's exit, which would do it, is skipped).
BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        if (StopSignals::received() == 0) {
            StopSignals::note(SIGINT);
            return TRUE;
        }
        z5::restoreProcess();
        return FALSE;   // the system's handler ends the program
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // The console is going away: the program ends when this returns.
        z5::restoreProcess();
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

// Windows has no hang-up or broken-pipe signal: Ctrl+C, Ctrl+Break and SIGTERM
// ask the verb to stop.
void StopSignals::install() {
    // Only SIGTERM goes through the runtime: a handler for SIGINT or SIGBREAK
    // would put the runtime's console handler in front of this one.
    std::signal(SIGTERM, onStop);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

// Windows has no SIGPIPE; the status is the one documented for every system.
int StopSignals::outputLostStatus() { return 128 + 13; }

} // namespace z5ctl
