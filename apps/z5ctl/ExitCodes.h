#pragma once

namespace z5ctl {

// What z5ctl's exit status says, the same for every verb.
enum ExitCode : int {
    kDone = 0,
    kBadInput = 1,      // a file or value that cannot be used as it stands
    kPortFailure = 2,   // the port did not open or failed on the way
    kNoEnd = 3,         // no valid reply came, or a write did not end
    kUsageError = 64,        // the command line itself is wrong: the usage line follows
};

// The table printed by --help.
const char *exitCodeTable();

} // namespace z5ctl
