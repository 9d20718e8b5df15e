// Every dialog and window a menu opens: centred on its owner, inside the
// screen, no larger than a 1024 x 768 screen at 125 %, and its default button
// answers Return, as the hand finds them.
#include "Hand.h"
#include "UiFixture.h"
#include "UiTestRegistry.h"
#include "app/ShippedLicences.h"
#include "ui/AboutBox.h"
#include "ui/ConsoleWindow.h"
#include "ui/ScreenPreview.h"
#include "ui/TrafficWindow.h"
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace hand = z5::uitest::hand;
using Opener = std::function<QWidget *(UiFixture &)>;
Q_DECLARE_METATYPE(Opener)

namespace {

QWidget *shownTopLevel(const QString &name) { return UiFixture::topLevel(name); }

QWidget *openElement(UiFixture &f, QAction *add, z5::ScreenElement element) {
    add->trigger();
    z5::ScreenPreview *preview = f.window->preview();
    const QPoint at = preview->elementRect(element).center();
    QMouseEvent event(QEvent::MouseButtonDblClick, at, preview->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(preview, &event);
    return f.window->elementDialog();
}

QWidget *openFromConsole(UiFixture &f, const char *action, const QString &name) {
    f.window->consoleAction()->trigger();
    auto *console = qobject_cast<z5::ConsoleWindow *>(f.window->console());
    console->action(QString::fromLatin1(action))->trigger();
    return shownTopLevel(name);
}

} // namespace

class DialogPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void opensCentredOnItsOwnerAndFitsASmallScreen_data() {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<bool>("ownedByConsole");
        QTest::newRow("port") << Opener([](UiFixture &f) -> QWidget * {
            f.window->portAction()->trigger();
            return f.window->portDialog();
        }) << false;
        QTest::newRow("station") << Opener([](UiFixture &f) -> QWidget * {
            f.window->stationAction()->trigger();
            return f.window->stationDialog();
        }) << false;
        QTest::newRow("find stations") << Opener([](UiFixture &f) -> QWidget * {
            f.window->findStationsAction()->trigger();
            return f.window->stationScanDialog();
        }) << false;
        QTest::newRow("about") << Opener([](UiFixture &f) {
            f.window->aboutAction()->trigger();
            return shownTopLevel(QStringLiteral("About"));
        }) << false;
        QTest::newRow("parameter") << Opener([](UiFixture &f) {
            return openElement(f, f.window->addParameterAction(), z5::ScreenElement::parameter(0));
        }) << false;
        QTest::newRow("alarm") << Opener([](UiFixture &f) {
            return openElement(f, f.window->addAlarmAction(), z5::ScreenElement::alarm(0));
        }) << false;
        QTest::newRow("traffic monitor") << Opener([](UiFixture &f) -> QWidget * {
            f.window->findChild<QAction *>(QStringLiteral("mnuTrafficMonitor"))->trigger();
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *t = qobject_cast<z5::TrafficWindow *>(w); t && t->isVisible()) return t;
            return nullptr;
        }) << false;
        QTest::newRow("console station") << Opener([](UiFixture &f) {
            return openFromConsole(f, "mnu_NUM_Z5", QStringLiteral("num_NET_Z5"));
        }) << true;
        QTest::newRow("console find stations") << Opener([](UiFixture &f) {
            return openFromConsole(f, "mnuFindStations", QStringLiteral("dlgFindStations"));
        }) << true;
    }
    void opensCentredOnItsOwnerAndFitsASmallScreen() {
        QFETCH(Opener, open);
        QFETCH(bool, ownedByConsole);
        UiFixture f;
        QWidget *dialog = open(f);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QWidget *owner = ownedByConsole ? f.window->console() : static_cast<QWidget *>(f.window.get());
        QCOMPARE(hand::placementFault(dialog, owner), QString());
        dialog->close();
        UiFixture::settle();
    }

    void returnClosesTheAboutBox() {
        UiFixture f;
        f.window->aboutAction()->trigger();
        QWidget *about = shownTopLevel(QStringLiteral("About"));
        QVERIFY(about);
        auto *ok = about->findChild<QPushButton *>();
        QVERIFY(ok && ok->isDefault());
        hand::key(about, Qt::Key_Return);
        QVERIFY(!about->isVisible());
        QVERIFY(f.window->isEnabled());
        UiFixture::settle();
    }

    // The licences come from the folder beside the programs (the Windows
    // installation), else from the package's copyright file; the box shows
    // them on a click, one at a time, and still fits a small screen.
    void theShippedLicencesAreShownOnDemand() {
        struct Row {
            const char *name;
            QStringList files; // relative to the program folder, each holding its own name
            QStringList expected;
        };
        const Row rows[] = {
            {"licence folder, the program's own first", {"licenses/zlib.txt", "licenses/Z5-Configurator.txt",
              "licenses/Qt.txt", "licenses/notes.md", "../share/doc/z5-configurator/copyright"},
             {"Z5-Configurator", "Qt", "zlib"}},
            {"the package's copyright file", {"../share/doc/z5-configurator/copyright"}, {"copyright"}},
            {"a build tree", {}, {}},
        };
        for (const Row &row : rows) {
            QTemporaryDir root;
            const QDir program(root.filePath(QStringLiteral("bin")));
            QVERIFY(QDir().mkpath(program.path()));
            for (const QString &file : row.files) {
                const QString path = QDir::cleanPath(program.filePath(file));
                QVERIFY(QDir().mkpath(QFileInfo(path).path()));
                QFile out(path);
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write(QFileInfo(file).completeBaseName().toUtf8() + " licence text\n");
            }
            const QList<z5::ShippedLicence> licences = z5::shippedLicences(program.path());
            QStringList names;
            for (const z5::ShippedLicence &licence : licences) {
                names << licence.name;
                QCOMPARE(licence.text, QFileInfo(licence.name).completeBaseName() + " licence text\n");
            }
            QVERIFY2(names == row.expected, row.name);

            UiFixture f;
            auto *about = new z5::AboutBox(f.window.get(), QStringLiteral("record"), licences);
            about->show();
            QVERIFY(QTest::qWaitForWindowExposed(about));
            auto *show = about->findChild<QPushButton *>(QStringLiteral("btnLicences"));
            QVERIFY2(bool(show) == !licences.isEmpty(), row.name);
            if (show) {
                QCOMPARE(hand::click(show), QString());
                auto *text = about->findChild<QPlainTextEdit *>(QStringLiteral("txtLicence"));
                QVERIFY(text && text->isVisible());
                QCOMPARE(text->toPlainText(), licences.first().text);
                auto *choice = about->findChild<QComboBox *>(QStringLiteral("cmbLicence"));
                if (licences.size() > 1) {
                    QCOMPARE(hand::choose(choice, 1), QString());
                    QCOMPARE(text->toPlainText(), licences[1].text);
                }
                QCOMPARE(hand::placementFault(about, f.window.get()), QString());
            }
            about->close();
            UiFixture::settle();
        }
    }
};

static z5::uitest::Registrar<DialogPlacementTest> registrar;
#include "DialogPlacementTest.moc"
