#pragma once

namespace z5ctl {

// What the platform needs before any verb runs: on Linux a write over the file size
// limit fails with a reason instead of ending the program; on Windows the console
// shows the program's UTF-8 output (Cyrillic messages) as written.
void prepareProcess();

} // namespace z5ctl
