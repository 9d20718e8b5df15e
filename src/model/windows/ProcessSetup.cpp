#include "model/ProcessSetup.h"
#include <atomic>
#include <cstdlib>
#include <windows.h>

namespace z5 {
namespace {

// The console's code pages as the program found them; 0 until they were changed.
std::atomic<UINT> g_outputCodePage{0};
std::atomic<UINT> g_inputCodePage{0};

} // namespace

void prepareProcess() {
    // Output is UTF-8; a console left at its OEM code page would show Cyrillic as
    // garbage. Redirected to a file or a pipe the bytes stay UTF-8 either way.
    // The console is the command prompt's too: what it had comes back at exit.
    const UINT output = GetConsoleOutputCP();
    const UINT input = GetConsoleCP();
    if (output == 0 || output == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;   // no console, or nothing to change
    g_inputCodePage = input;
    g_outputCodePage = output;
    std::atexit(restoreProcess);
}

void restoreProcess() {
    if (const UINT output = g_outputCodePage.exchange(0)) SetConsoleOutputCP(output);
    if (const UINT input = g_inputCodePage.exchange(0)) SetConsoleCP(input);
}

} // namespace z5
