#pragma once
// The console as the configurator wires it, on a real port, for the tests that
// run it against z5-sim; and the small netlists they import.
#include "model/QtClock.h"
#include "model/RecordingPrompts.h"
#include "ui/ConsoleWindow.h"
#include "ui/Session.h"
#include <QAction>
#include <QFile>
#include <QTemporaryDir>

namespace z5::uitest {

template <typename Port>
struct SimConsole {
    QtClock clock;
    Port port;
    RecordingPrompts prompts;
    Session session{clock, port, prompts};
    QWidget mainWindow;
    ConsoleWindow console{session, &mainWindow};

    SimConsole() { console.show(); }

    // Imports `netlist` through the console's menu, as the user does; returns the block count.
    int import(const QString &netlist) {
        prompts.openNames << netlist;
        console.action("mnuLOADParametrBLOCK")->trigger();
        return session.project.blockCount();
    }
};

// Writes `text` as the netlist `name` in `dir`; empty when it could not be written.
inline QString writeNetlist(const QTemporaryDir &dir, const QString &name, const QByteArray &text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return QString();
    return path;
}

} // namespace z5::uitest
