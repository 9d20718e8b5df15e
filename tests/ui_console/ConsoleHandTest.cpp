// The console as a hand and a keyboard use it: a field stored only once left
// whole, Esc, the question before edits could be lost, the block icons and the
// station dialog by keys, and a page read given up with the console.
#include "ConsoleRig.h"
#include "Hand.h"
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "ui/StationDialog.h"
#include "ui/TrendWindow.h"
#include <QAction>
#include <QListWidget>
#include <QPointer>

using namespace z5;
using z5::uitest::blockReply;
using z5::uitest::ConsoleRig;
namespace hand = z5::uitest::hand;

namespace {
constexpr int kPid = 3;        // U4 in the example
constexpr int kJournal = 11;   // U12
constexpr int kTrend = 10;     // U11

// Visible top-level windows of a kind.
int shownWindows(const char *objectName) {
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) n += w->objectName() == QLatin1String(objectName) && w->isVisible();
    return n;
}
} // namespace

class ConsoleHandTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

private slots:
    void init() {
        rig = std::make_unique<ConsoleRig>();
        // Focus leaves a field only in the active window, as on a desktop.
        rig->console.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig->console));
        rig->importExample();
    }
    void cleanup() { rig.reset(); }

    // A text refused when the field is left stays, red, with the value from
    // before the edit in the store; Esc puts the stored value back. Each row: the
    // block, the field, what is typed, where the store holds it.
    void aRefusedTextNeverReachesTheStore_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("journal delay 300") << kJournal << 4 << "300" << "вне диапазона 0..255";
        QTest::newRow("PID limit 1e39") << kPid << 2 << "1e39" << "вне диапазона";
        QTest::newRow("PID period 12x") << kPid << 1 << "12x" << "не число";
    }
    void aRefusedTextNeverReachesTheStore() {
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        QCOMPARE(hand::click(rig->iconOf(column), Qt::RightButton), QString());
        const ParameterStore before = rig->session.store;
        const QString shown = rig->text(row)->text();
        QCOMPARE(hand::typeInto(rig->text(row), typed), QString());
        QVERIFY(rig->session.store == before);
        hand::tab(&rig->console);
        QVERIFY2(rig->session.store == before, "refused whole, no prefix of it stored");
        QCOMPARE(rig->text(row)->text(), typed);
        QVERIFY(rig->text(row)->styleSheet().contains("red"));
        QLabel *line = rig->view().notStoredLine();
        QVERIFY(line->text().contains(reason));
        // Said right under the rows shown, within the window.
        const QRect lineAt(line->mapTo(&rig->console, QPoint(0, 0)), line->size());
        QVERIFY(rig->console.rect().contains(lineAt));
        QVERIFY(lineAt.top() - rig->text(row)->mapTo(&rig->console, QPoint(0, 0)).y() < 12 * rig->text(row)->height());

        // Another block and back: the store's value, not a prefix of the text.
        QCOMPARE(hand::click(rig->iconOf(column == kPid ? kJournal : kPid), Qt::RightButton), QString());
        QCOMPARE(hand::click(rig->iconOf(column), Qt::RightButton), QString());
        QCOMPARE(rig->text(row)->text(), shown);

        QCOMPARE(hand::typeInto(rig->text(row), typed), QString());
        hand::key(&rig->console, Qt::Key_Return);
        QVERIFY(rig->text(row)->styleSheet().contains("red"));
        hand::key(&rig->console, Qt::Key_Escape);
        QCOMPARE(rig->text(row)->text(), shown);
        QVERIFY(!rig->text(row)->styleSheet().contains("red"));
        QVERIFY(rig->session.store == before);
    }

    // "Записать схему в Z5" with a red field asks first and names it; no: nothing goes out.
    void aWriteWithARedFieldAsksFirst() {
        QCOMPARE(hand::click(rig->iconOf(kJournal), Qt::RightButton), QString());
        QCOMPARE(hand::typeInto(rig->text(4), QStringLiteral("300")), QString());
        rig->prompts.confirmAnswer = false;
        rig->console.action("mnuSAVE_485")->trigger();
        QCOMPARE(rig->prompts.messages.size(), std::size_t(1));
        QVERIFY(rig->prompts.messages[0].text.contains(QStringLiteral("«Время задержки» (вне диапазона 0..255)")));
        rig->clock.advance(8000);
        QVERIFY(rig->port.writes().empty());
        QVERIFY(rig->console.isEnabled());
    }

    // Closing with parameter edits neither saved nor written asks; "Отмена" stays.
    void closingWithUnsavedEditsAsks() {
        QCOMPARE(hand::click(rig->iconOf(kPid), Qt::RightButton), QString());
        QCOMPARE(hand::typeInto(rig->text(3), QStringLiteral("2.5")), QString());
        rig->prompts.unsavedAnswer = Prompts::Unsaved::Cancel;
        rig->console.action("mnuEXIT")->trigger();
        QCOMPARE(rig->prompts.messages.size(), std::size_t(1));
        QCOMPARE(rig->prompts.messages[0].text, QStringLiteral("Сохранить изменения параметров?"));
        QVERIFY(rig->console.isVisible());
        QCOMPARE(rig->session.store.numbersPID.value(0, 1), 2.5f);
        rig->prompts.unsavedAnswer = Prompts::Unsaved::Discard;
        QVERIFY(rig->console.close());
        QVERIFY(!rig->console.isVisible());
        QVERIFY(rig->mainWindow.isVisible());
    }

    // The console closed while a trend page is being read: the read is given up
    // and no trend window is left behind.
    void closingDuringAPageReadLeavesNoTrendWindow() {
        rig->port.silent = true;
        QCOMPARE(hand::click(rig->iconOf(kTrend)), QString());
        QVERIFY(rig->session.line.isBusy());
        QVERIFY(rig->console.close());
        rig->clock.advance(20000);
        QApplication::processEvents();
        QCOMPARE(shownWindows("GRAFIK"), 0);
        QVERIFY(!rig->session.line.isBusy());
    }

    // The grid by keys: Tab reaches it, the arrows step between icons, Return
    // reads the block, Shift+F10 and the menu key lay out its panel.
    void theBlockIconsByKeys() {
        rig->port.responder = [](const QByteArray &) { return blockReply(); };
        ConsoleIcon *first = rig->console.canvas()->tabIcon();
        QVERIFY(first);
        QCOMPARE(first->focusPolicy(), Qt::StrongFocus);
        first->setFocus(Qt::TabFocusReason);
        hand::key(&rig->console, Qt::Key_Right);
        QWidget *second = rig->console.focusWidget();
        QVERIFY(second != first && qobject_cast<ConsoleIcon *>(second));
        QCOMPARE(rig->console.canvas()->tabIcon(), second);
        hand::key(&rig->console, Qt::Key_Return);
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
        rig->clock.advance(150);
        hand::key(&rig->console, Qt::Key_Left);
        QCOMPARE(rig->console.focusWidget(), static_cast<QWidget *>(first));
        hand::key(&rig->console, Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(rig->view().title()->isVisible());
        QCOMPARE(rig->console.focusWidget(), rig->view().firstField());
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
    }

    // The station dialog: arrows choose at once, Return closes with the choice,
    // Esc puts back the station it opened with.
    void theStationDialogByKeys() {
        for (const bool escape : {false, true}) {
            rig->session.line.changeStation(1);
            rig->console.action("mnu_NUM_Z5")->trigger();
            QPointer<StationDialog> dialog = rig->console.findChild<StationDialog *>();
            QVERIFY(dialog && dialog->isVisible());
            dialog->activateWindow();
            dialog->stationList()->setFocus();
            hand::key(dialog, Qt::Key_Down);
            hand::key(dialog, Qt::Key_Down);
            QCOMPARE(rig->session.line.settings().station, 3);
            QVERIFY(rig->console.portStatus()->text().endsWith(QStringLiteral("Z5 №3")));
            hand::key(dialog, escape ? Qt::Key_Escape : Qt::Key_Return);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!dialog || !dialog->isVisible());
            QCOMPARE(rig->session.line.settings().station, escape ? 1 : 3);
            QVERIFY(rig->console.isEnabled());
            delete dialog.data();
        }
    }
};

static z5::uitest::Registrar<ConsoleHandTest> registrar;
#include "ConsoleHandTest.moc"
