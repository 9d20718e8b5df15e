// The main window's captions and menus, the About box, the designer's side
// controls, the way to the console and the exit.
#include "UiTestRegistry.h"
#include "UiFixture.h"
#include "LineSessionProbe.h"
#include "ui/MainWindow.h"
#include "ui/ScreenPreview.h"
#include <QAction>
#include <QProgressBar>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>


namespace {

QStringList texts(const QList<QAction *> &actions) {
    QStringList out;
    for (QAction *a : actions) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QMenu *menuTitled(z5::MainWindow &w, const QString &title) {
    for (QAction *a : w.menuBar()->actions())
        if (a->text() == title) return a->menu();
    return nullptr;
}

} // namespace

class MainWindowMenusTest : public QObject {
    Q_OBJECT
private slots:
    void captionAndMenus() {
        UiFixture f;
        z5::MainWindow &w = *f.window;
        QCOMPARE(w.objectName(), QStringLiteral("Scada_Z5_NEW"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Конфигуратор  Z5"));
        QCOMPARE(texts(w.menuBar()->actions()),
                 (QStringList{"&Файл", "&Сеть", "&Схема", "&SCADA", "&Справка"}));
        QCOMPARE(texts(menuTitled(w, "&Файл")->actions()),
                 (QStringList{"&Создать SCADA", "&Загрузить SCADA", "&Сохранить SCADA", "-", "&Выход"}));
        QCOMPARE(texts(menuTitled(w, "&Сеть")->actions()),
                 (QStringList{"&Номер COM", "&Номер Z5", "Найти станции", "-", "&Монитор обмена", "Отчёт о работах"}));
        QCOMPARE(texts(menuTitled(w, "&Схема")->actions()), (QStringList{"&Схема "}));
        QCOMPARE(texts(menuTitled(w, "&SCADA")->actions()),
                 (QStringList{"&Фон", "&Параметр", "&Сигнализация", "-", "Отменить", "Повторить", "Как на Z5", "-",
                              "&Записать в Z5 "}));
        // "&Справка" is a command of the bar itself.
        QVERIFY(menuTitled(w, "&Справка") == nullptr);
        QCOMPARE(w.portAction()->objectName(), QStringLiteral("mnuCOM"));
        QCOMPARE(w.stationAction()->objectName(), QStringLiteral("mnuNUM_Z5"));
        QCOMPARE(w.findStationsAction()->objectName(), QStringLiteral("mnuFindStations"));
        QCOMPARE(w.portAction()->text(), QStringLiteral("&Номер COM"));
        QCOMPARE(w.stationAction()->text(), QStringLiteral("&Номер Z5"));
    }

    void designGeometryIsInTwips() {
        UiFixture f;
        // The preview of 320 by 240 screen pixels is 9600 by 7200 twips: 640 by 480 pixels.
        QCOMPARE(z5::MainWindow::px(9600), 640);
        QCOMPARE(z5::MainWindow::px(7200), 480);
        QVERIFY(f.window->preview()->width() >= 640 + z5::MainWindow::px(420));
        QVERIFY(f.window->progressBar()->isHidden());
    }

    void aboutDisablesTheMainWindowUntilClosed() {
        UiFixture f;
        f.window->aboutAction()->trigger();
        QWidget *about = UiFixture::topLevel("About");
        QVERIFY(about);
        QVERIFY(!f.window->isEnabled());
        QVERIFY(about->isEnabled());
        QVERIFY(about->findChild<QLabel *>("lblVersion"));
        QCOMPARE(about->findChild<QLabel *>("lblVersion")->text(), QStringLiteral("Version 3.2"));
        about->close();
        UiFixture::settle();
        QVERIFY(f.window->isEnabled());
    }

    void digitSampleStepsAndThresholdStoresOnlyBytes() {
        UiFixture f;
        z5::MainWindow &w = *f.window;
        QCOMPARE(w.digitSample()->text(), QStringLiteral("123456"));
        QTest::mouseClick(w.digitSample(), Qt::LeftButton);
        QCOMPARE(f.session.screen.digits(), 2);
        QCOMPARE(w.digitSample()->text(), QStringLiteral("12"));

        QCOMPARE(w.thresholdField()->text(), QStringLiteral("120"));
        w.thresholdField()->selectAll();
        QTest::keyClicks(w.thresholdField(), "200");
        QCOMPARE(f.session.screen.colorThreshold(), 200);
        QVERIFY(w.thresholdField()->styleSheet().isEmpty());
        QTest::keyClicks(w.thresholdField(), "0");  // 2000 is no byte: kept out, and marked
        QCOMPARE(f.session.screen.colorThreshold(), 200);
        QVERIFY(w.thresholdField()->styleSheet().contains("red"));
        QTest::keyClick(w.thresholdField(), Qt::Key_Backspace);
        QCOMPARE(f.session.screen.colorThreshold(), 200);
        QVERIFY(w.thresholdField()->styleSheet().isEmpty());
        QTest::keyClicks(w.thresholdField(), "x");
        QVERIFY(w.thresholdField()->styleSheet().contains("red"));

        // The second entry (packed) at start; the first is run-length.
        QCOMPARE(w.displayMode()->currentIndex(), 1);
        w.displayMode()->setCurrentIndex(0);
        QVERIFY(f.session.screen.isRunLength());
    }

    void exitClosesDialogsAndThePort() {
        UiFixture f;
        QVERIFY(z5::LineSessionProbe::openPort(f.session.line));
        f.window->stationAction()->trigger();
        QPointer<QWidget> station = f.window->stationDialog();
        QVERIFY(station);
        f.window->stationDialog()->close();
        UiFixture::settle();
        f.window->portAction()->trigger();
        QPointer<QWidget> portDialog = f.window->portDialog();
        QVERIFY(portDialog && portDialog->isVisible());
        f.window->exitAction()->trigger();
        UiFixture::settle();
        QVERIFY(!f.window->isVisible());
        QVERIFY(portDialog.isNull());
        QVERIFY(station.isNull());
        QVERIFY(!f.port.isOpen());
    }

    void schemaCommandShowsTheConsole() {
        UiFixture f;
        f.window->consoleAction()->trigger();
        QWidget *console = f.window->console();
        QVERIFY(console);
        QCOMPARE(console->objectName(), QStringLiteral("BLOKI"));
        QVERIFY(console->isVisible());
        QVERIFY(!f.window->isVisible());
        f.window->show();
        f.window->consoleAction()->trigger();
        QCOMPARE(f.window->console(), console);  // made once, shown again
        // The exit takes the console with it instead of bringing the main window back.
        f.window->exitAction()->trigger();
        QVERIFY(!console->isVisible());
        QVERIFY(!f.window->isVisible());
    }
};

static z5::uitest::Registrar<MainWindowMenusTest> registrar;

#include "MainWindowMenusTest.moc"
