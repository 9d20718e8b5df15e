// How the windows behave on a desktop: dialogs owned by their windows with their
// exact captions, boxes with the icon of their kind, file names with their
// suffix and folders remembered, windows that shrink to a small screen and come
// back where they were, and the port dialog's serial devices.
#include "UiTestRegistry.h"
#include "TestSettings.h"
#include "UiFixture.h"
#include "link/PortMapping.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleWindow.h"
#include "ui/FileFolders.h"
#include "ui/QtTranslations.h"
#include "ui/ScreenPreview.h"
#include "ui/WidgetPrompts.h"
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

// 1024 x 768 at 125 %: what is left for a window's client area.
const QSize kSmallScreen(1024 * 4 / 5, 768 * 4 / 5);

class FakeDevices : public z5::SerialDevices {
public:
    std::vector<z5::SerialDeviceInfo> list() const override { return devices; }
    std::vector<z5::SerialDeviceInfo> devices;
};

z5::SerialDeviceInfo adapter(const QString &device, const QString &description, const QString &stable) {
    z5::SerialDeviceInfo d;
    d.device = device;
    d.description = description;
    d.manufacturer = QStringLiteral("FTDI");
    d.serialNumber = QStringLiteral("A10K");
    d.stableName = stable;
    return d;
}

// Everything the window holds can be scrolled to within the small screen.
void checkFitsSmallScreen(QMainWindow *window, QWidget *content) {
    window->resize(kSmallScreen);
    QCoreApplication::processEvents();
    QCOMPARE(window->size(), kSmallScreen);
    auto *area = qobject_cast<QScrollArea *>(window->centralWidget());
    QVERIFY(area);
    QCOMPARE(area->widget(), content);
    // The scroll bars reach the far corner of the content.
    QVERIFY(area->horizontalScrollBar()->maximum() + area->viewport()->width() >= content->width());
    QVERIFY(area->verticalScrollBar()->maximum() + area->viewport()->height() >= content->height());
    // The right-hand column fits, beside a vertical scroll bar if there is one: nothing scrolls sideways.
    QVERIFY2(area->horizontalScrollBar()->maximum() == 0,
             qPrintable(QStringLiteral("%1 wide in a view %2 wide").arg(content->width()).arg(area->viewport()->width())));
}

} // namespace

class DesktopConventionsTest : public QObject {
    Q_OBJECT
private slots:
    void dialogsAreOwnedByTheirWindowAndKeepTheirCaptions() {
        UiFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Конфигуратор  Z5"));
        f.window->portAction()->trigger();
        QCOMPARE(f.window->portDialog()->parentWidget(), f.window.get());
        QCOMPARE(f.window->portDialog()->windowTitle(), QStringLiteral("Номер порта"));
        QVERIFY(f.window->portDialog()->isEnabled());
        QVERIFY(f.window->portDialog()->isWindow());
        f.window->portDialog()->close();
        UiFixture::settle();

        f.window->stationAction()->trigger();
        QCOMPARE(f.window->stationDialog()->parentWidget(), f.window.get());
        QVERIFY(f.window->stationDialog()->isEnabled());
        f.window->stationDialog()->close();
        UiFixture::settle();

        f.window->aboutAction()->trigger();
        QWidget *about = UiFixture::topLevel(QStringLiteral("About"));
        QVERIFY(about);
        QCOMPARE(about->parentWidget(), f.window.get());
        QVERIFY(about->isEnabled());
        QVERIFY(!f.window->isEnabled());
        about->close();
        UiFixture::settle();

        f.window->consoleAction()->trigger();
        auto *console = qobject_cast<z5::ConsoleWindow *>(f.window->console());
        QCOMPARE(console->windowTitle(), QStringLiteral("Настройка функциональных блоков"));
        console->action(QStringLiteral("mnu_NUM_Z5"))->trigger();
        auto *station = console->findChild<z5::StationDialog *>();
        QVERIFY(station);
        QCOMPARE(station->windowTitle(), QStringLiteral("Номер Z5 в сети"));
        QVERIFY(!console->isEnabled());
        QVERIFY(station->isEnabled());
        QListWidget *list = station->stationList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(5)).center());
        station->close();
        console->close();
        // The main window's status bar follows what was chosen in the console.
        QVERIFY(f.window->portStatus()->text().endsWith(QStringLiteral("Z5 №6")));
    }

    void messageBoxesShowTheIconOfTheirKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("icon");
        QTest::newRow("error") << int(z5::Prompts::Kind::Error) << int(QMessageBox::Critical);
        QTest::newRow("warning") << int(z5::Prompts::Kind::Warning) << int(QMessageBox::Warning);
        QTest::newRow("information") << int(z5::Prompts::Kind::Information) << int(QMessageBox::Information);
    }
    void messageBoxesShowTheIconOfTheirKind() {
        QFETCH(int, kind);
        QFETCH(int, icon);
        QWidget owner;
        owner.setEnabled(false);  // a window disabled by an exchange
        const auto box = z5::WidgetPrompts::messageBox(QStringLiteral("Файл заблокирован!!!"), QString(),
                                                       static_cast<z5::Prompts::Kind>(kind), &owner);
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(box->parentWidget(), &owner);
        QVERIFY(box->isEnabled());
        QCOMPARE(box->windowTitle(), QStringLiteral("Конфигуратор  Z5"));
    }

    void aQuestionHoldsItsWindowAndGivesItBack() {
        QWidget owner;
        owner.show();
        z5::WidgetPrompts prompts(&owner);
        bool ownerEnabledUnderTheBox = true;
        QString okText;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            ownerEnabledUnderTheBox = owner.isEnabled();
            okText = box->button(QMessageBox::Ok)->text();
            QVERIFY(box->isEnabled());
            box->button(QMessageBox::Cancel)->click();
        });
        QVERIFY(!prompts.confirm(QStringLiteral("Сохранить изменения?")));
        QVERIFY(!ownerEnabledUnderTheBox);
        QCOMPARE(okText, QStringLiteral("ОК"));
        QVERIFY(owner.isEnabled());
    }

    void savedFilesGetTheSuffixOfTheirKind_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("saved");
        QTest::newRow("parameters") << "/tmp/test1" << "parametr file (*.par)" << "/tmp/test1.par";
        QTest::newRow("screen") << "/tmp/boiler" << "scada file (*.scd)" << "/tmp/boiler.scd";
        QTest::newRow("workbook") << "/tmp/page 3" << "Excel (*.xlsx)" << "/tmp/page 3.xlsx";
        QTest::newRow("trailing dot") << "/tmp/a." << "parametr file (*.par)" << "/tmp/a.par";
        QTest::newRow("own suffix kept") << "/tmp/test1.bak" << "parametr file (*.par)" << "/tmp/test1.bak";
        QTest::newRow("dotted folder") << "/tmp/v1.2/test1" << "parametr file (*.par)" << "/tmp/v1.2/test1.par";
        QTest::newRow("no pattern") << "/tmp/x" << "any file" << "/tmp/x";
    }
    void savedFilesGetTheSuffixOfTheirKind() {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QFETCH(QString, saved);
        QCOMPARE(z5::FileFolders::withDefaultSuffix(typed, filter), saved);
    }

    void foldersAreRememberedPerKindOfFile() {
        TestSettings settings;
        QTemporaryDir params, screens;
        z5::FileFolders::remember(QStringLiteral("par"), params.filePath(QStringLiteral("a.par")));
        z5::FileFolders::remember(QStringLiteral("scd"), screens.filePath(QStringLiteral("b.scd")));
        QCOMPARE(z5::FileFolders::folderFor(QStringLiteral("par"), QString()), params.path());
        QCOMPARE(z5::FileFolders::folderFor(QStringLiteral("scd"), QString()), screens.path());
        // A folder the command itself remembers in this run wins.
        QCOMPARE(z5::FileFolders::folderFor(QStringLiteral("par"), screens.path()), screens.path());
        QVERIFY(z5::FileFolders::folderFor(QStringLiteral("net"), QString()) != params.path());
    }

    void windowsShrinkToASmallScreenWithEverythingReachable() {
        UiFixture f;
        checkFitsSmallScreen(f.window.get(), f.window->preview()->parentWidget());
        f.window->consoleAction()->trigger();
        auto *console = qobject_cast<z5::ConsoleWindow *>(f.window->console());
        checkFitsSmallScreen(console, console->canvas());
        console->close();
    }

    void theMainWindowComesBackWhereItWas() {
        UiFixture f;
        f.window->move(37, 41);
        const QRect before = f.window->geometry();
        f.window->consoleAction()->trigger();
        QWidget *console = f.window->console();
        QVERIFY(!f.window->isVisible());
        f.window->move(300, 300);  // where a window manager might put it back
        console->close();
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.window->geometry(), before);
    }

    void windowPlacesAreKeptBetweenRuns() {
        TestSettings settings;
        QRect kept;
        {
            UiFixture f;
            f.window->setGeometry(20, 30, 700, 500);
            kept = f.window->geometry();
            f.window->close();
        }
        UiFixture again;
        QCOMPARE(again.window->geometry(), kept);
    }

    void consoleStatusBarNamesPortDeviceAndStation() {
        qputenv("Z5_COM4", "/dev/ttyUSB0");
        FakeDevices devices;
        devices.devices.push_back(adapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), QString()));
        UiFixture f;
        f.session.line.setSerialDevices(&devices);
        f.window->consoleAction()->trigger();
        auto *console = qobject_cast<z5::ConsoleWindow *>(f.window->console());
        QCOMPARE(console->portStatus()->text(),
                 QStringLiteral("COM4: /dev/ttyUSB0 — FT232R USB UART, FTDI, A10K    Z5 №1"));
        console->close();
        qunsetenv("Z5_COM4");
    }

    void qtSpeaksRussianWhateverTheSystemLocale() {
        const QLocale system;
        QLocale::setDefault(QLocale::c());
        QTranslator *russian = z5::installQtTranslations(*QCoreApplication::instance());
        QLocale::setDefault(system);
        QVERIFY2(russian, "qt6-translations-l10n is installed by scripts/deps.sh");
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Сохранить как"));
        QCoreApplication::removeTranslator(russian);
        delete russian;
    }

    void portDialogListsTheConfiguredDeviceTheEnumerationMisses() {
        TestSettings settings;
        QTemporaryDir dir;
        const QString pty = dir.filePath(QStringLiteral("pts-0"));   // present, but not enumerated
        QFile(pty).open(QIODevice::WriteOnly);
        qputenv("Z5_COM4", pty.toLocal8Bit());
        FakeDevices devices;
        UiFixture f;
        f.session.line.setSerialDevices(&devices);
        f.window->portAction()->trigger();
        z5::PortDialog *dialog = f.window->portDialog();
        dialog->portList()->setCurrentIndex(3);   // COM4
        QCOMPARE(dialog->deviceChoice()->currentText(), pty);
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lblDevice"))->text(), QStringLiteral("Устройство: ") + pty);
        dialog->close();
        qunsetenv("Z5_COM4");
        UiFixture::settle();
    }

    void portDialogOffersTheDevicesPresentAndRemembersTheChoice() {
        TestSettings settings;
        qunsetenv("Z5_COM5");
        FakeDevices devices;
        const QString stable = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A10K-if00-port0");
        devices.devices.push_back(adapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), stable));
        devices.devices.push_back(adapter(QStringLiteral("/dev/ttyACM0"), QStringLiteral("RS485 bridge"), QString()));
        UiFixture f;
        f.session.line.setSerialDevices(&devices);
        f.window->portAction()->trigger();
        z5::PortDialog *dialog = f.window->portDialog();
        dialog->portList()->setCurrentIndex(4);
        QComboBox *choice = dialog->deviceChoice();
        QCOMPARE(choice->count(), 3);
        QCOMPARE(choice->itemText(0), QStringLiteral("По умолчанию: /dev/ttyS4"));
        QCOMPARE(choice->itemText(1), QStringLiteral("/dev/ttyUSB0 — FT232R USB UART, FTDI, A10K"));
        QVERIFY(choice->isEnabled());

        choice->setCurrentIndex(1);
        emit choice->activated(1);
        // The stable name is kept, so the choice survives replugging.
        QCOMPARE(z5::PortMapping::remembered(5), stable);
        QCOMPARE(z5::PortSettings::deviceName(5), stable);
        QVERIFY(dialog->deviceLabel()->text().contains(QStringLiteral("FT232R USB UART")));

        // A rescan finds a new adapter and keeps the choice.
        devices.devices.push_back(adapter(QStringLiteral("/dev/ttyUSB1"), QStringLiteral("CH340"), QString()));
        dialog->refreshButton()->click();
        QCOMPARE(choice->count(), 4);
        QCOMPARE(choice->currentIndex(), 1);
        dialog->close();
        UiFixture::settle();
        QCOMPARE(f.window->portStatus()->text(),
                 QStringLiteral("COM5: %1 — FT232R USB UART, FTDI, A10K    Z5 №1").arg(stable));

        // The environment still wins, and the dialog says so.
        qputenv("Z5_COM5", "/tmp/z5-sim-link");
        f.window->portAction()->trigger();
        dialog = f.window->portDialog();
        QVERIFY(!dialog->deviceChoice()->isEnabled());
        QVERIFY(dialog->environmentNote()->text().contains(QStringLiteral("Z5_COM5=/tmp/z5-sim-link")));
        QCOMPARE(z5::PortSettings::deviceName(5), QStringLiteral("/tmp/z5-sim-link"));
        dialog->close();
        UiFixture::settle();
        qunsetenv("Z5_COM5");
    }
};

static z5::uitest::Registrar<DesktopConventionsTest> registrar;

#include "DesktopConventionsTest.moc"
