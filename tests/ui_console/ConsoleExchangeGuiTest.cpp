// Left clicks, the "&Контроллер" commands and the station dialog.
#include "ConsoleRig.h"
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "ui/ProcessPictureWidget.h"
#include "ui/StationDialog.h"
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>

using namespace z5;
using z5::uitest::blockReply;
using z5::uitest::ConsoleRig;

namespace {
constexpr int kPid = 3;        // U4
constexpr int kSetpoint = 13;  // U14

QByteArray withCheck(QByteArray frame) {
    const std::uint16_t crc = Link::checkValueOf(frame);
    frame.append(char(crc >> 8));
    frame.append(char(crc & 0xFF));
    return frame;
}
}

class ConsoleExchangeGuiTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

    QString status() const { return rig->console.replyStatus()->text(); }

private slots:
    void init() {
        rig = std::make_unique<ConsoleRig>();
        rig->importExample();
    }
    void cleanup() { rig.reset(); }

    void leftClickReadsTheBlockAndShowsThatTheReplyCame() {
        rig->port.responder = [](const QByteArray &) { return blockReply(); };
        rig->click(kPid, Qt::RightButton);
        rig->click(kPid, Qt::LeftButton);
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
        QCOMPARE(rig->port.writes()[0].bytes.toHex(' '), withCheck(QByteArray::fromHex("0103040a0000")).toHex(' '));
        QVERIFY(rig->console.awaitsReply());
        QVERIFY(!rig->view().title()->isVisible());
        QVERIFY(!rig->view().rowLabel(0)->isVisible());
        QVERIFY(rig->console.findChild<QFrame *>("Picture_TABLICA_PROCESS")->isVisible());
        rig->clock.advance(150);
        QVERIFY(!rig->console.awaitsReply());
        QCOMPARE(status(), QStringLiteral("Ответ блока U4 получен"));
    }

    // A read leaves the window usable: a click on another block waits its turn
    // on the line and is read, a right click lays its panel out at once, the
    // menus open.
    void whatTheHandDoesDuringAReadWaitsItsTurn() {
        rig->port.responder = [](const QByteArray &) { return blockReply(); };
        rig->port.replyDelayMs = 700;
        rig->click(kPid, Qt::LeftButton);
        QVERIFY(rig->console.isEnabled());
        QVERIFY(rig->console.takesInput());
        rig->clock.advance(200);
        rig->click(kSetpoint, Qt::LeftButton);
        QCOMPARE(rig->port.writes().size(), std::size_t(1));
        rig->clock.advance(650);   // the reply is taken at the poll after it came
        QCOMPARE(rig->port.writes().size(), std::size_t(2));
        QCOMPARE(std::uint8_t(rig->port.writes()[1].bytes[2]), std::uint8_t(kSetpoint + 1));
        QMenuBar *menus = rig->console.menuBar();
        QTest::mouseClick(menus, Qt::LeftButton, {}, menus->actionGeometry(menus->actions().first()).center());
        QVERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->close();
        rig->click(kPid, Qt::RightButton);
        QVERIFY(rig->view().title()->isVisible());
        rig->clock.advance(1000);
        QVERIFY2(rig->view().title()->isVisible(), "the read under way ends unheard");
        QCOMPARE(rig->port.writes().size(), std::size_t(2));
    }

    void noAnswerIsShownToo() {
        rig->port.silent = true;
        rig->click(kPid, Qt::LeftButton);
        rig->clock.advance(999);
        QVERIFY(rig->console.awaitsReply());
        rig->clock.advance(1);
        QVERIFY(!rig->console.awaitsReply());
        QCOMPARE(status(), QStringLiteral("Нет ответа от Z5"));
        QCOMPARE(rig->prompts.beeps, 1);
    }

    void aMissingPortSaysNoNetworkAndLeavesTheConsoleUsable() {
        rig->port.refuseOpen = true;
        rig->click(kPid, Qt::LeftButton);
        QCOMPARE(rig->prompts.messages.size(), std::size_t(1));
        QVERIFY(rig->prompts.messages[0].text.startsWith("Нет сети!!!"));
        QVERIFY(rig->console.takesInput());
        QVERIFY(!rig->console.canvas()->Line3()->isVisible());
        QVERIFY(rig->port.writes().empty());
    }

    void aSetpointProgrammerEnablesTheSetpointWrite() {
        rig->port.responder = [](const QByteArray &w) { return w.size() == 8 && w[1] == 3 ? blockReply() : QByteArray(); };
        QAction *setpoints = rig->console.action("mnuSAVE_ZADATCIKI");
        rig->click(kSetpoint, Qt::LeftButton);
        QVERIFY(setpoints->isEnabled());
        QVERIFY(rig->view().title()->isVisible());
        QCOMPARE(rig->view().rowLabel(16)->text(), QStringLiteral("Имя блока"));
        QVERIFY(rig->view().rowLabel(16)->isVisible());
        rig->clock.advance(150);
        rig->port.clearWrites();

        setpoints->trigger();
        QVERIFY(!rig->console.isEnabled());
        rig->clock.advance(200);
        QVERIFY(rig->console.isEnabled());
        QCOMPARE(rig->port.writes().size(), std::size_t(2));
        QCOMPARE(rig->port.writes()[0].bytes.left(6).toHex(' '), QByteArray("01 3f 00 20 00 0d"));
        QCOMPARE(rig->port.writes()[1].bytes.size(), 32);

        // A left click on another block takes the command away again.
        rig->click(kPid, Qt::LeftButton);
        QVERIFY(!setpoints->isEnabled());
    }

    // A far end that stops reading: the setpoints never leave, and the window says
    // so with the counts instead of "Запись в Z5 закончена".
    void aSetpointWriteWhoseBytesDoNotLeaveSaysSo() {
        rig->port.responder = [](const QByteArray &w) { return w.size() == 8 && w[1] == 3 ? blockReply() : QByteArray(); };
        rig->click(kSetpoint, Qt::LeftButton);
        rig->clock.advance(150);
        rig->port.clearWrites();
        rig->port.farEndTakesBytes = 0;   // stuck since the read
        rig->console.action("mnuSAVE_ZADATCIKI")->trigger();
        rig->clock.advance(200 + LineSession::kDrainMarginMs + 50);
        QVERIFY(rig->console.isEnabled());
        const QString expected = QStringLiteral("Z5 не принимает данные: отправлено 0 из 40 байт");
        QCOMPARE(rig->console.replyStatus()->text(), expected);
        QVERIFY(!rig->prompts.messages.empty());
        QCOMPARE(rig->prompts.messages.back().text, expected);
    }

    void processCommandsAndTheirPictures() {
        rig->port.responder = [](const QByteArray &) { return blockReply(false); };
        ConsoleCanvas &canvas = *rig->console.canvas();
        rig->click(kSetpoint, Qt::LeftButton);
        rig->clock.advance(150);
        rig->port.clearWrites();

        rig->console.action("mnuPAUSE_PROCESS")->trigger();
        QVERIFY(!rig->console.action("mnuSAVE_ZADATCIKI")->isEnabled());
        QVERIFY(!rig->view().rowLabel(0)->isVisible());
        QVERIFY(!rig->view().title()->isVisible());
        QCOMPARE(rig->port.writes()[0].bytes.toHex(' '), withCheck(QByteArray::fromHex("0103000b3200")).toHex(' '));
        rig->clock.advance(300);   // the same reply as before: held a little for one following it
        QVERIFY(canvas.runPicture()->isVisible());
        QVERIFY(!canvas.pausePicture()->isVisible());
        QCOMPARE(int(rig->console.core().state().selectedType), 5);

        rig->console.action("mnuSTART_PROCESS")->trigger();
        rig->clock.advance(300);   // the same reply as before: held a little for one following it
        QVERIFY(canvas.pausePicture()->isVisible());

        // The picture asks for the state: byte 3 is 0, the process stands.
        rig->port.clearWrites();
        QTest::mouseClick(canvas.pausePicture(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(std::uint8_t(rig->port.writes()[0].bytes[4]), std::uint8_t(52));
        rig->clock.advance(300);   // the same reply as before: held a little for one following it
        QVERIFY(canvas.runPicture()->isVisible());

        rig->port.clearWrites();
        rig->console.action("mnuSAVE_SCHEMA_Z5")->trigger();
        QCOMPARE(std::uint8_t(rig->port.writes()[0].bytes[4]), std::uint8_t(53));
        rig->clock.advance(300);   // the same reply as before: held a little for one following it
        QVERIFY(canvas.runPicture()->isVisible());
    }

    void downloadFromTheMenuRunsTheBarAndGivesTheConsoleBack() {
        rig->console.action("mnuSAVE_485")->trigger();
        QVERIFY(!rig->console.isEnabled());
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), 0);
        rig->clock.advance(3000);
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), 30);
        rig->clock.advance(3300);
        QVERIFY(rig->console.isEnabled());
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), 63);
        std::vector<int> tables;
        for (const auto &w : rig->port.writes())
            if (w.bytes.size() == 8 && std::uint8_t(w.bytes[1]) >= 0x33) tables.push_back(std::uint8_t(w.bytes[1]) - 0x33);
        QCOMPARE(tables, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        rig->clock.advance(4000);
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), 100);
    }

    void theStationDialogHoldsTheConsoleUntilItCloses() {
        rig->console.action("mnu_NUM_Z5")->trigger();
        QVERIFY(!rig->console.isEnabled());
        StationDialog *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == "num_NET_Z5" && w->isVisible()) dialog = qobject_cast<StationDialog *>(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->stationList()->currentRow(), 0);
        QCOMPARE(dialog->owner(), &rig->console);
        dialog->close();
        QVERIFY(rig->console.isEnabled());
    }
};

static z5::uitest::Registrar<ConsoleExchangeGuiTest> registrar;
#include "ConsoleExchangeGuiTest.moc"
