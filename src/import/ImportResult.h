#pragma once
#include "import/ConsoleLayout.h"
#include "model/Project.h"
#include <QString>

namespace z5 {

// What an import gives: the project and where the console shows it, or the message
// that stopped it. A failed import gives an empty project, never a half-built one.
struct ImportResult {
    bool ok = false;
    QString message;  // the message box text on failure
    Project project;
    ConsoleLayout layout;
};

} // namespace z5
