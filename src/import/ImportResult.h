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
    // The file it came from: its name without folders and the hex SHA-256 of
    // its bytes (both empty for a netlist given as text).
    QString netlistName;
    QByteArray netlistHash;
};

} // namespace z5
