#include "ParentConsole.h"
#include <cstdio>
#include <windows.h>

namespace z5 {

void useParentConsole() {
    // Started from Explorer there is no console to attach to, and nothing is written.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE *ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
}

} // namespace z5
