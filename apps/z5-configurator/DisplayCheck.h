#pragma once
#include <QString>

namespace z5 {

// Whether the windows have somewhere to appear, asked before the window system
// is started (which would abort without one). Empty when they have, or when a
// platform is named (QT_QPA_PLATFORM or -platform, offscreen among them); else
// the one line that says why the configurator cannot start. The answer is the
// platform's (posix/ or windows/).
QString missingDisplay(int argc, char **argv);

} // namespace z5
