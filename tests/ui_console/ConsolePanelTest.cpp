// Right clicks lay out the panel; typing and choosing store into the parameter store.
#include "ConsoleRig.h"
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "ui/ConsoleGeometry.h"
#include <QAction>
#include <QFrame>
#include <QTemporaryDir>

using namespace z5;
using z5::uitest::ConsoleRig;

namespace {
constexpr int kAnalogInput = 0;  // U1
constexpr int kPid = 3;          // U4
constexpr int kTrend = 10;       // U11
}

class ConsolePanelTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

    int visibleRows() {
        int n = 0;
        for (int r = 0; r < 17; ++r) n += rig->view().rowLabel(r)->isVisible() ? 1 : 0;
        return n;
    }

private slots:
    void init() {
        rig = std::make_unique<ConsoleRig>();
        rig->importExample();
    }
    void cleanup() { rig.reset(); }

    void rightClickLaysOutThePidPanelAndPlacesTheCursor() {
        rig->session.store.numbersPID.setValue(0, 4, 2.5f);
        rig->click(kPid, Qt::RightButton);
        QCOMPARE(int(rig->console.core().state().selectedColumn), kPid);
        QCOMPARE(int(rig->console.core().state().selectedType), int(BlockType::PID));
        QCOMPARE(visibleRows(), 9);
        QVERIFY(rig->view().title()->isVisible());
        QVERIFY(rig->view().columnHeadings()->isVisible());
        QCOMPARE(rig->view().rowLabel(0)->text(), QStringLiteral("Тип"));
        QVERIFY(rig->combo(0)->isVisible());
        QVERIFY(!rig->text(0)->isVisible());
        QCOMPARE(rig->combo(0)->count(), 3);
        QCOMPARE(rig->view().rowLabel(1)->text(), QStringLiteral("Период"));
        QVERIFY(rig->text(1)->isVisible());
        QCOMPARE(rig->text(1)->text(), QStringLiteral("2.5"));
        QVERIFY(!rig->view().rowLabel(9)->isVisible());
        QVERIFY(!rig->console.findChild<QFrame *>("Picture_TABLICA_PROCESS")->isVisible());

        QFrame *line = rig->console.canvas()->Line3();
        QVERIFY(line->isVisible());
        const QPoint corner = ConsoleLayout::slotPosition(kPid);
        QCOMPARE(line->geometry().topLeft(), twips::px(corner + QPoint(0, 520)));
        QCOMPARE(line->width(), twips::px(500));
        rig->clock.advance(250);
        QVERIFY(!line->isVisible());
        rig->clock.advance(250);
        QVERIFY(line->isVisible());
    }

    void typingANumberStoresItAndALetterShowsARedFrame() {
        rig->click(kPid, Qt::RightButton);
        rig->typeInto(1, "12");
        QCOMPARE(rig->session.store.numbersPID.value(0, 4), 12.0f);
        rig->typeInto(1, "1x");
        // Refused as a whole: the store keeps the value from before the edit, never "1".
        QCOMPARE(rig->session.store.numbersPID.value(0, 4), 12.0f);
        QVERIFY(rig->text(1)->styleSheet().contains("red"));
        QCOMPARE(rig->text(1)->toolTip(), ConsoleParameterView::notStoredHint() + ": не число");
        QVERIFY(rig->prompts.messages.empty());

        // "Период" is converted first: editing "КП 1" stores nothing while it is bad,
        // and the field says what holds it up.
        rig->typeInto(3, "4");
        QCOMPARE(rig->session.store.numbersPID.value(0, 1), 0.0f);
        QVERIFY(rig->text(3)->styleSheet().contains("red"));
        QLabel *line = z5::uitest::parameterView(rig->console)->notStoredLine();
        QVERIFY(line->isVisible());
        QCOMPARE(line->text(), QStringLiteral("«Период»: не число; «КП 1»: сначала исправьте «Период»"));

        // Mending the period leaves the gain unstored, and the field asks for it again.
        QTest::keyClick(rig->text(1), Qt::Key_Backspace);
        QCOMPARE(rig->text(1)->text(), QStringLiteral("1"));
        QVERIFY2(rig->text(1)->styleSheet().contains("red"), "refused until the field is finished");
        QTest::keyClick(rig->text(1), Qt::Key_Return);
        QCOMPARE(rig->session.store.numbersPID.value(0, 4), 1.0f);
        QVERIFY(!rig->text(1)->styleSheet().contains("red"));
        QCOMPARE(line->text(), QStringLiteral("«КП 1»: не сохранено, введите значение снова"));
        rig->typeInto(3, "4.5");
        QCOMPARE(rig->session.store.numbersPID.value(0, 1), 4.5f);
        QVERIFY(!rig->text(3)->styleSheet().contains("red"));
        QVERIFY(!line->isVisible());
    }

    void choosingAnItemStoresItsCode() {
        rig->click(kPid, Qt::RightButton);
        rig->combo(0)->setFocus();
        rig->stepChoice(0, 2);
        QCOMPARE(rig->combo(0)->currentText(), QStringLiteral("ПИД 2"));
        QCOMPARE(rig->session.store.numbersPID.value(0, 0), 2.0f);
    }

    void analogInputChannelPicksTheFields() {
        rig->session.store.numbersA_I.setValue(0, 27, 0.5f);
        rig->click(kAnalogInput, Qt::RightButton);
        QVERIFY(!rig->combo(0)->isEnabled());
        QCOMPARE(rig->combo(0)->currentText(), QStringLiteral("1"));
        rig->combo(1)->setFocus();
        rig->stepChoice(1, 3);
        QCOMPARE(rig->combo(1)->currentText(), QStringLiteral("4"));
        QCOMPARE(rig->text(8)->text(), QStringLiteral("0.5"));
        rig->typeInto(8, "3");
        QCOMPARE(rig->session.store.numbersA_I.value(0, 27), 3.0f);
        // Another block and back: channel 4 stays picked.
        rig->click(kPid, Qt::RightButton);
        rig->click(kAnalogInput, Qt::RightButton);
        QCOMPARE(rig->combo(1)->currentText(), QStringLiteral("4"));
        QCOMPARE(rig->text(8)->text(), QStringLiteral("3"));
    }

    void namesAreTintedFields() {
        rig->click(kTrend, Qt::RightButton);
        QCOMPARE(visibleRows(), 6);
        QVERIFY(rig->text(2)->styleSheet().contains("#c0ffff"));
        QVERIFY(rig->text(1)->styleSheet().contains("#ffffff"));
        rig->typeInto(2, "Котёл");
        QCOMPARE(rig->session.store.trendTexts.element(33), QStringLiteral("Котёл"));
    }

    void aLoadedParameterFileIsShownAtOnce() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.par");
        rig->session.store.numbersPID.setValue(0, 4, 7.0f);
        rig->prompts.saveNames << path;
        rig->console.action("mnuSAVEparametr")->trigger();
        rig->session.store.numbersPID.setValue(0, 4, 1.0f);
        rig->click(kPid, Qt::RightButton);
        QCOMPARE(rig->text(1)->text(), QStringLiteral("1"));
        rig->prompts.openNames << path;
        rig->console.action("mnuLOADparametr")->trigger();
        QVERIFY2(rig->prompts.messages.empty(), qPrintable(rig->prompts.messages.empty() ? QString() : rig->prompts.messages[0].text));
        QCOMPARE(rig->session.store.numbersPID.value(0, 4), 7.0f);
        QCOMPARE(rig->text(1)->text(), QStringLiteral("7"));
        // An edit now stores the loaded limit as it is, not an old text.
        rig->typeInto(3, "2");
        QCOMPARE(rig->session.store.numbersPID.value(0, 4), 7.0f);
    }
};

static z5::uitest::Registrar<ConsolePanelTest> registrar;
#include "ConsolePanelTest.moc"
