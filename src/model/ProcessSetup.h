#pragma once

namespace z5 {

// What the platform needs before a program does anything: on Linux a write over
// the file size limit fails with a reason instead of ending the program; on
// Windows the console shows the programs' UTF-8 output (Cyrillic) as written.
void prepareProcess();

// Puts back what prepareProcess() changed that outlives the program: the
// console's code pages, which the command prompt it ran in shares. Done by
// itself at every normal exit; a handler that ends the program at once (a
// second Ctrl+C) calls it first. Safe to call again, and from another thread.
void restoreProcess();

} // namespace z5
