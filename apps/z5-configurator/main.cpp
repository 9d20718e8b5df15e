// z5-configurator: the desktop configurator. One session of core objects on the
// real clock, serial port and message boxes, and the main window over it.
#include "link/SystemSerialPort.h"
#include "link/SerialDevices.h"
#include "model/ProcessSetup.h"
#include "model/UserSettings.h"
#include "model/QtClock.h"
#include "ui/MainWindow.h"
#include "app/Session.h"
#include "ui/QtTranslations.h"
#include "ui/WidgetPrompts.h"
#include <QApplication>
#include <csignal>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    z5::prepareProcess();
    // No display name: the window system would append it to every caption.
    QApplication::setOrganizationName(z5::settingsOrganisation());
    QApplication::setApplicationName(z5::settingsApplication());
    QApplication::setApplicationVersion(QStringLiteral(Z5_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("z5-configurator"));
    z5::installQtTranslations(app);

    z5::QtClock clock;
    z5::SystemSerialPort port;
    // Boxes are owned by the window the user works in and stay enabled when
    // an exchange disables it.
    z5::WidgetPrompts prompts;
    z5::Session session(clock, port, prompts);
    z5::SystemSerialDevices devices;
    session.link.serialDevices = &devices;

    z5::MainWindow window(session);
    window.show();
    return app.exec();
}
