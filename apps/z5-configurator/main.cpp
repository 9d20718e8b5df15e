// z5-configurator: the desktop configurator. One session of core objects on the
// real clock, serial port and message boxes, and the main window over it.
#include "DisplayCheck.h"
#include "ParentConsole.h"
#include "link/SystemSerialPort.h"
#include "link/SerialDevices.h"
#include "model/ProcessSetup.h"
#include "model/StaleTemporaries.h"
#include "model/UserSettings.h"
#include "model/QtClock.h"
#include "record/RecordPlace.h"
#include "ui/MainWindow.h"
#include "app/Session.h"
#include "ui/FileFolders.h"
#include "ui/QtTranslations.h"
#include "ui/WidgetPrompts.h"
#include <QApplication>
#include <QLabel>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

const char kHelp[] =
    "usage: z5-configurator [Qt options] [SCREEN.scd]\n"
    "       z5-configurator --help | --version\n"
    "The desktop configurator of the Z5 controller: imports block schematics (P-CAD ASCII\n"
    "netlists), tunes block parameters, downloads the configuration over RS-485, watches\n"
    "live values, designs the operator screen and reads trend pages.\n"
    "SCREEN.scd, when given, is loaded into the screen designer.\n"
    "COMn is the device that Z5_COM<n> names, else the one chosen in the port dialog,\n"
    "else /dev/ttyS<n-1>.\n"
    "example:\n"
    "  Z5_COM4=/dev/ttyUSB0 z5-configurator\n";

// --help and --version are answered before a window system is needed.
bool answered(int argc, char **argv, int *status) {
    for (int i = 1; i < argc; ++i) {
        const bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
        if (help || std::strcmp(argv[i], "--version") == 0) z5::useParentConsole();
        if (help) {
            std::fputs(kHelp, stdout);
            *status = 0;
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("z5-configurator %s\n", Z5_VERSION);
            *status = 0;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv) {
    if (int status = 0; answered(argc, argv, &status)) return status;
    // Said in one line, where the window system would abort with a page of advice.
    if (const QString missing = z5::missingDisplay(argc, argv); !missing.isEmpty()) {
        std::fprintf(stderr, "%s\n", missing.toLocal8Bit().constData());
        return 1;
    }
    QApplication app(argc, argv);
    z5::prepareProcess();
    // No display name: the window system would append it to every caption.
    QApplication::setOrganizationName(z5::settingsOrganisation());
    QApplication::setApplicationName(z5::settingsApplication());
    QApplication::setApplicationVersion(QStringLiteral(Z5_VERSION));
    // The desktop entry's name (and the software centres' id): Wayland finds the icon by it.
    QApplication::setDesktopFileName(QStringLiteral("org.example.z5_configurator"));
    z5::installQtTranslations(app);
    // What saves stopped midway (a kill, a power cut) left in the folders the
    // user saves into goes before anything else is saved there.
    for (const QString &folder : z5::FileFolders::remembered()) z5::StaleTemporaries::sweep(folder);

    z5::QtClock clock;
    z5::SystemSerialPort port(clock);
    // Boxes are owned by the window the user works in and stay enabled when
    // an exchange disables it.
    z5::WidgetPrompts prompts;
    z5::Session session(clock, port, prompts);
    z5::SystemSerialDevices devices;
    session.line.setSerialDevices(&devices);
    // Every write is entered in the station record; a record that cannot be
    // opened is said once, after the first write.
    session.recorder.setSerialDevices(&devices);
    session.recorder.open(z5::stationRecordPathToWrite());

    z5::MainWindow window(session);
    // Settings that could not be read are said once, where the user looks.
    if (const QString unread = z5::userSettingsProblem(); !unread.isEmpty()) window.writeStatus()->setText(unread);
    window.show();
    // An operator screen file given to open (Explorer's "Open" on an .scd file).
    const QStringList files = QApplication::arguments().mid(1);
    for (const QString &file : files) {
        if (file.endsWith(QStringLiteral(".scd"), Qt::CaseInsensitive)) {
            window.openScreenFile(file);
            break;
        }
    }
    return app.exec();
}
