#include "DisplayCheck.h"
#include <QtGlobal>
#include <cstring>

namespace z5 {

QString missingDisplay(int argc, char **argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return QString();
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return QString();
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return QString();
    return QStringLiteral("z5-configurator: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)");
}

} // namespace z5
