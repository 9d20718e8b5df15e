// z5-configurator: the desktop configurator. One session of core objects on the
// real clock, serial port and message boxes, and the main window over it.
#include "link/QtSerialPort.h"
#include "model/QtClock.h"
#include "ui/MainWindow.h"
#include "ui/Session.h"
#include "ui/WidgetPrompts.h"
#include <QApplication>
#include <csignal>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    // Over the file size limit a write should fail with a reason, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName(QStringLiteral("z5-configurator"));
    QApplication::setApplicationDisplayName(QStringLiteral("Конфигуратор  Z5"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));

    z5::QtClock clock;
    z5::QtSerialPort port;
    z5::WidgetPrompts prompts;
    z5::Session session(clock, port, prompts);

    // Message boxes stay without a parent: a box owned by a window would be
    // disabled with it when a write disables that window.
    z5::MainWindow window(session);
    window.show();
    return app.exec();
}
