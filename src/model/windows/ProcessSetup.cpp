#include "model/ProcessSetup.h"
#include <windows.h>

namespace z5 {

void prepareProcess() {
    // Output is UTF-8; a console left at its OEM code page would show Cyrillic as
    // garbage. Redirected to a file or a pipe the bytes stay UTF-8 either way.
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace z5
