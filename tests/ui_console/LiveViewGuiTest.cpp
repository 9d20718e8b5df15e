// The live view in the console window: the value table, the operator panels
// and their keys, the setpoint fields and the automatic re-read.
#include "ConsoleRig.h"
#include "UiTestRegistry.h"
#include "console/PanelKeys.h"
#include "model/BlockCatalogue.h"
#include "ui/LiveViewPane.h"
#include "ui/PanelPictureWidget.h"
#include "ui/SwitchImage.h"
#include "ui/ValueTableWidget.h"
#include <QAction>
#include <QFile>
#include <QTemporaryDir>

using namespace z5;
using z5::uitest::ConsoleRig;

namespace {

constexpr int kPanel = 0;     // U1
constexpr int kOutput = 1;    // U2
constexpr int kSetpoint = 2;  // U3

// A reply with the given second values of rows 0.. and a correct check value.
QByteArray replyWithSeconds(std::initializer_list<double> seconds) {
    QByteArray r(258, '\0');
    r[0] = 1;
    r[1] = 3;
    int k = 0;
    for (double v : seconds) {
        const qint32 raw = static_cast<qint32>(v * 1000.0);
        for (int i = 0; i < 4; ++i) r[130 + 4 * k + i] = static_cast<char>((raw >> (8 * i)) & 0xFF);
        ++k;
    }
    const std::uint16_t crc = Link::checkValueOf(r);
    r.append(char(crc & 0xFF));
    r.append(char(crc >> 8));
    return r;
}

QByteArray withCheck(QByteArray frame) {
    const std::uint16_t crc = Link::checkValueOf(frame);
    frame.append(char(crc >> 8));
    frame.append(char(crc & 0xFF));
    return frame;
}

} // namespace

class LiveViewGuiTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    QTemporaryDir dir;

    LiveViewPane &pane() { return *z5::uitest::liveViewPane(rig->console); }
    void importSmallProject() {
        const QString path = dir.filePath(QStringLiteral("panel.net"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("(netlist \"demo\"\n"
                "(compInst \"U1\"\n(originalName \"PAN\")\n(compValue \"1_1\")\n)\n"
                "(compInst \"U2\"\n(originalName \"A_O\")\n(compValue \"2_1\")\n)\n"
                "(compInst \"U3\"\n(originalName \"S_P\")\n(compValue \"3_1\")\n)\n)\n");
        f.close();
        rig->prompts.openNames << path;
        rig->console.importNetlist();
        QCOMPARE(rig->session.project.blockCount(), 3);
    }
    void usePanelLayout(float layout) {
        rig->session.store.numbersPAN.setValue(0, 0, layout);
        rig->session.store.panelTexts.setValue(0, 0, QStringLiteral("Котёл"));
        rig->session.store.panelTexts.setValue(0, 1, QStringLiteral("Насос"));
    }
    // A click on a panel picture at a point in the picture's own coordinates.
    void clickPanel(int number, QPointF at) {
        PanelPictureWidget *p = pane().panelPicture(number);
        QTest::mouseClick(p, Qt::LeftButton, {}, p->toWidget(at));
    }

private slots:
    void init() {
        rig = std::make_unique<ConsoleRig>();
        QVERIFY(dir.isValid());
    }
    void cleanup() { rig.reset(); }

    void aReadShowsItsValuesUnderTheHeadingOfTheBlock() {
        rig->importExample();
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({1, 2.5}); };
        rig->click(3, Qt::RightButton);
        QCOMPARE(z5::uitest::blockHeading(rig->console)->text(), QStringLiteral("U04 PID 1"));
        rig->click(3, Qt::LeftButton);
        rig->clock.advance(150);
        const ValueTable &t = pane().valueTable()->table();
        QCOMPARE(int(t.rows().size()), 8);
        QCOMPARE(t.rows()[0].right.value, QStringLiteral("1"));
        QCOMPARE(t.rows()[1].right.value, QStringLiteral("2.5"));
        QVERIFY(pane().valueTable()->isVisible());
    }

    void anOutputBlockFillsOnlyTheLeftColumn() {
        importSmallProject();
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({7}); };
        rig->click(kOutput, Qt::LeftButton);
        rig->clock.advance(150);
        for (const auto &row : pane().valueTable()->table().rows()) QVERIFY(!row.hasRight);
    }

    void aPanelShowsItsPictureNameLampsAndSendsTheKeyUnderTheClick() {
        importSmallProject();
        usePanelLayout(1.0f);
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({1, 1}); };
        rig->click(kPanel, Qt::LeftButton);
        for (int n = 1; n <= 5; ++n) QCOMPARE(pane().panelPicture(n)->isVisible(), n == 2);
        QCOMPARE(pane().panelCaption()->text(), QStringLiteral("Панель управления: Котёл"));
        QCOMPARE(pane().channelName(0)->text(), QStringLiteral("Насос"));
        QVERIFY(pane().channelName(3)->isVisible());
        QVERIFY(!pane().valueTable()->isVisible());
        rig->clock.advance(150);
        const auto &lamps = pane().panelPicture(2)->face().lamps();
        QCOMPARE(int(lamps.size()), 2);
        QCOMPARE(lamps[0].centre, QPoint(24, 57));
        QCOMPARE(lamps[1].centre, QPoint(24, 10));

        rig->port.clearWrites();
        clickPanel(2, QPointF(20, 50));   // between the key rows
        QCOMPARE(rig->port.writes().size(), std::size_t(0));
        clickPanel(2, QPointF(20, 120));  // key 1
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
        // Kind 3: the block's column + 1, the index the read left, the key, the count.
        QCOMPARE(rig->port.writes()[0].bytes.toHex(' '), withCheck(QByteArray::fromHex("0103010b0100")).toHex(' '));
        QVERIFY(rig->console.awaitsReply());
        rig->clock.advance(300);   // the same bytes as the read before: held a little for a reply following them
        QVERIFY(!rig->console.awaitsReply());
    }

    // A key pressed while the panel refreshes leaves "Обновлять" as it was: the
    // reads go on after the key's reply.
    void aPanelKeyLeavesTheRefreshAsItWas() {
        importSmallProject();
        usePanelLayout(1.0f);
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({1, 1}); };
        z5::uitest::refreshChoice(rig->console)->setCurrentIndex(1);   // 250 ms
        rig->click(kPanel, Qt::LeftButton);
        rig->clock.advance(150);
        rig->port.clearWrites();
        clickPanel(2, QPointF(20, 120));   // key 1
        rig->clock.advance(150 + 250 + 150);
        QCOMPARE(z5::uitest::refreshChoice(rig->console)->currentText(), QStringLiteral("250 мс"));
        QCOMPARE(rig->port.writes().size(), std::size_t(2));
        QCOMPARE(std::uint8_t(rig->port.writes()[1].bytes[3]), std::uint8_t(0x0a));   // a read again
    }

    void theFourthPictureRefusesKeySeven() {
        importSmallProject();
        usePanelLayout(3.0f);
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({}); };
        rig->click(kPanel, Qt::LeftButton);
        rig->clock.advance(150);
        rig->port.clearWrites();
        clickPanel(4, PanelKeys::keyRect(7).center());
        QCOMPARE(rig->port.writes().size(), std::size_t(0));
        clickPanel(4, PanelKeys::keyRect(6).center());
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
    }

    void switchesFollowTheReplyAndSendTheirKeys() {
        importSmallProject();
        usePanelLayout(2.0f);
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({0, 1}); };
        rig->click(kPanel, Qt::LeftButton);
        rig->clock.advance(150);
        PanelPictureWidget *third = pane().panelPicture(3);
        QVERIFY(third->switchUp(0)->isVisible());
        QVERIFY(!third->switchDown(0)->isVisible());
        QVERIFY(third->switchDown(1)->isVisible());
        rig->port.clearWrites();
        clickPanel(3, PanelKeys::keyRect(1).center());   // its column's switch is on
        QCOMPARE(rig->port.writes().size(), std::size_t(0));
        QTest::mouseClick(third->switchDown(1), Qt::LeftButton);
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
        QCOMPARE(quint8(rig->port.writes()[0].bytes[4]), quint8(10));
    }

    void aPanelKeyAfterStoringTheConfigurationStillRedrawsThePanel() {
        importSmallProject();
        usePanelLayout(1.0f);
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({}); };
        rig->click(kPanel, Qt::LeftButton);
        rig->clock.advance(150);
        rig->console.action("mnuSAVE_SCHEMA_Z5")->trigger();
        rig->clock.advance(150);
        QVERIFY(pane().panelPicture(2)->isVisible());
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({1}); };
        clickPanel(2, QPointF(20, 120));
        rig->clock.advance(300);
        QCOMPARE(int(pane().panelPicture(2)->face().lamps().size()), 1);
    }

    void processCommandsHideEveryLiveViewElement() {
        importSmallProject();
        usePanelLayout(0.0f);
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({}); };
        rig->click(kPanel, Qt::LeftButton);
        rig->clock.advance(150);
        rig->console.action("mnuSTART_PROCESS")->trigger();
        for (int n = 1; n <= 5; ++n) QVERIFY(!pane().panelPicture(n)->isVisible());
        QVERIFY(!pane().panelCaption()->isVisible());
        for (int i = 0; i < 4; ++i) QVERIFY(!pane().channelName(i)->isVisible());
        QVERIFY(!rig->console.action("mnuSAVE_ZADATCIKI")->isEnabled());
        QVERIFY(z5::uitest::blockHeading(rig->console)->text().isEmpty());
    }

    void setpointValuesLandInTheirNumberFieldsAndAreWrittenAsShown() {
        importSmallProject();
        rig->session.store.setpointNames.setValue(0, 0, QStringLiteral("Темп"));
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({11, 12, 13, 14, 15, 16, 17, 18}); };
        rig->click(kSetpoint, Qt::LeftButton);
        rig->clock.advance(150);
        QCOMPARE(rig->text(0)->text(), QStringLiteral("Темп"));
        QCOMPARE(rig->text(1)->text(), QStringLiteral("11"));
        QCOMPARE(rig->text(15)->text(), QStringLiteral("18"));
        rig->typeInto(3, QStringLiteral("20"));
        rig->port.clearWrites();
        rig->console.action("mnuSAVE_ZADATCIKI")->trigger();
        rig->clock.advance(200);
        const float expected[8] = {11, 20, 13, 14, 15, 16, 17, 18};
        for (int k = 0; k < 8; ++k) QCOMPARE(rig->session.store.numbersS_P.value(0, k), expected[k]);
        QCOMPARE(rig->port.writes().size(), std::size_t(2));
        QCOMPARE(rig->port.writes()[1].bytes.size(), 32);
    }

    void refreshIsOffUntilPickedAndStopsOnAnotherPick() {
        rig->importExample();
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({1}); };
        QCOMPARE(z5::uitest::refreshChoice(rig->console)->currentIndex(), 0);
        rig->click(3, Qt::LeftButton);
        rig->clock.advance(150);
        rig->clock.advance(3000);
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
        z5::uitest::refreshChoice(rig->console)->setCurrentIndex(2);   // 500 ms
        QCOMPARE(rig->port.writes().size(), std::size_t(2));   // at once
        rig->clock.advance(150 + 499);
        QCOMPARE(rig->port.writes().size(), std::size_t(2));
        rig->clock.advance(1);
        QCOMPARE(rig->port.writes().size(), std::size_t(3));
        // An automatic read leaves the window usable. A right click needs no line:
        // the panel is laid out at once and the read under way ends unheard.
        QVERIFY(rig->console.takesInput());
        const QString before = rig->console.replyStatus()->text();
        rig->click(3, Qt::RightButton);
        QVERIFY(rig->view().title()->isVisible());
        rig->clock.advance(150);
        QVERIFY(rig->view().title()->isVisible());
        QVERIFY(!pane().valueTable()->isVisible());
        QCOMPARE(rig->console.replyStatus()->text(), before);
        rig->clock.advance(5000);
        QCOMPARE(rig->port.writes().size(), std::size_t(3));
    }

    void aWriteOfAnotherWindowStopsTheRefresh() {
        rig->importExample();
        rig->port.responder = [](const QByteArray &) { return replyWithSeconds({1}); };
        z5::uitest::refreshChoice(rig->console)->setCurrentIndex(1);   // 250 ms
        rig->click(3, Qt::LeftButton);
        rig->clock.advance(150);
        QVERIFY(rig->console.core().refresh().isArmed());
        // A write of the main window (one step, at once).
        QVERIFY(rig->session.line.enqueue(z5::WriteSequence().mark(0, 0)));
        QVERIFY(!rig->console.core().refresh().isArmed());
    }
};

static z5::uitest::Registrar<LiveViewGuiTest> registrar;
#include "LiveViewGuiTest.moc"
