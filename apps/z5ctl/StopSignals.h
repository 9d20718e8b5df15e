#pragma once

class QEventLoop;

namespace z5ctl {

// SIGINT, SIGTERM and SIGHUP (where the system has one; on Windows Ctrl+Break as
// Ctrl+C) ask the running verb to stop: it ends its work at the next step, writes
// what it holds (rows, the trace) and exits. A second signal of the same kind ends
// the program at once, as usual.
class StopSignals {
public:
    static void install();
    // Records the signal that asked to stop; safe inside a signal handler.
    static void note(int signal);
    // The signal that asked to stop, or 0.
    static int received();
    // The exit status of a verb stopped by that signal (128 + its number).
    static int exitStatus();
    // The exit status of a verb whose standard output's reader went away: what
    // the broken pipe gives (141) on every system.
    static int outputLostStatus();
    // Sleeps for ms, or less when a stop is asked for; false when it was.
    static bool sleep(int ms);
    // A verb that said what the stop cut short marks it so, and no general
    // remark follows.
    static void markReported();
    static bool reported();
    // Quits `loop` soon after a stop is asked for, while it runs.
    static void quitOnStop(QEventLoop &loop);
};

} // namespace z5ctl
