#pragma once
// One configurator run for a test: virtual clock, in-memory port, scripted
// prompts, the session and the main window, shown on the offscreen platform.
#include "SessionBench.h"
#include "link/FakeSerialPort.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "ui/MainWindow.h"
#include "ui/Session.h"
#include <QApplication>
#include <QWidget>
#include <memory>

struct UiFixture : z5::SessionBench {
    std::unique_ptr<z5::MainWindow> window;

    UiFixture() {
        window = std::make_unique<z5::MainWindow>(session);
        window->show();
    }

    // Lets closed windows that delete themselves go.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static QWidget *topLevel(const QString &objectName) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == objectName && w->isVisible()) return w;
        return nullptr;
    }
};
