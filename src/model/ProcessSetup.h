#pragma once

namespace z5 {

// What the platform needs before a program does anything: on Linux a write over
// the file size limit fails with a reason instead of ending the program; on
// Windows the console shows the programs' UTF-8 output (Cyrillic) as written.
void prepareProcess();

} // namespace z5
