#pragma once
// Image plugins (JPEG, GIF) are found only once an application object exists.
#include <QCoreApplication>

namespace z5fuzz {

inline void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

} // namespace z5fuzz
