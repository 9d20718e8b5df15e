// The port and station dialogs: what they store, which window they disable and
// give back, and the device each COM number maps to.
#include "LineSessionProbe.h"
#include "UiTestRegistry.h"
#include "link/EditFields.h"
#include "TestSettings.h"
#include "UiFixture.h"
#include "link/PortMapping.h"
#include "link/PortSettings.h"
#include "ui/PortDialog.h"
#include "ui/StationDialog.h"
#include "ui/StationScanDialog.h"
#include "ReplyFrames.h"
#include <QPushButton>
#include <QTreeWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QListWidget>
#include <QTest>

namespace {

void clickRow(QListWidget *list, int row) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// A read request for block 1 through the shared line; returns the frame written.
QByteArray sendRead(UiFixture &f) {
    z5::LineSession &line = f.session.line;
    if (!z5::LineSessionProbe::openPort(line)) return {};
    z5::testing::editFields(line, [&](z5::RequestFields &f) {
        f.kind = z5::Request::Read;
        f.block = 0;
    });
    f.port.clearWrites();
    if (!z5::testing::sendOnLine(line)) return {};
    return f.port.writes().back().bytes;
}

} // namespace

class NetworkDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void startsAtCom4AndStation1() {
        UiFixture f;
        const QByteArray frame = sendRead(f);
        QCOMPARE(frame.size(), 8);
        QCOMPARE(quint8(frame[0]), quint8(0x01));
        QCOMPARE(f.port.openedDevice(), z5::PortSettings::deviceName(4));
    }

    void portDialogStoresOnCloseAndTheNextRequestUsesTheNewPort() {
        qputenv("Z5_COM7", "/tmp/z5-test-com7");
        UiFixture f;
        QVERIFY(z5::LineSessionProbe::openPort(f.session.line));
        f.window->portAction()->trigger();
        z5::PortDialog *dialog = f.window->portDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName(), QStringLiteral("num_COM_PORT"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Номер порта"));
        QVERIFY(!f.window->isEnabled());
        QVERIFY(dialog->isEnabled());

        QComboBox *list = dialog->portList();
        QCOMPARE(list->objectName(), QStringLiteral("num_COM"));
        QCOMPARE(list->count(), 16);
        QCOMPARE(list->itemText(0), QStringLiteral("COM1"));
        QCOMPARE(list->itemText(15), QStringLiteral("COM16"));
        QCOMPARE(list->currentIndex(), 3);
        QVERIFY(!list->isEditable());  // only listed ports can be chosen
        QVERIFY(dialog->deviceLabel()->text().contains(z5::PortSettings::deviceName(4)));

        list->setCurrentIndex(6);
        QVERIFY(dialog->deviceLabel()->text().contains("/tmp/z5-test-com7"));
        QCOMPARE(int(f.session.line.settings().portNumber), 4);  // stored only on closing
        QVERIFY(f.port.isOpen());

        dialog->close();
        UiFixture::settle();
        QVERIFY(!f.window->portDialog());
        QCOMPARE(int(f.session.line.settings().portNumber), 7);
        QVERIFY(!f.port.isOpen());
        QVERIFY(f.window->isEnabled());
        QCOMPARE(f.window->portStatus()->text(), QStringLiteral("COM7: /tmp/z5-test-com7    Z5 №1"));

        sendRead(f);
        QCOMPARE(f.port.openedDevice(), QStringLiteral("/tmp/z5-test-com7"));
        qunsetenv("Z5_COM7");
    }

    void portDialogClosedByEscapeStoresToo() {
        UiFixture f;
        f.window->portAction()->trigger();
        z5::PortDialog *dialog = f.window->portDialog();
        dialog->portList()->setCurrentIndex(15);
        QTest::keyClick(dialog, Qt::Key_Escape);
        UiFixture::settle();
        QCOMPARE(int(f.session.line.settings().portNumber), 16);
        QVERIFY(f.window->isEnabled());
    }

    // Any device for any number: the devices set for other numbers are offered
    // too, and a path typed over the list is checked when the dialog closes.
    void anyDeviceCanBeChosenForAnyNumber() {
        qputenv("Z5_COM7", "/tmp/z5-test-com7");
        QTemporaryFile unmapped;   // stands for a pseudo-terminal no number stands for yet
        QVERIFY(unmapped.open());
        TestSettings settings;     // the choice is kept there
        UiFixture f;
        f.window->portAction()->trigger();
        z5::PortDialog *dialog = f.window->portDialog();
        dialog->portList()->setCurrentIndex(4);   // COM5
        QComboBox *devices = dialog->deviceChoice();
        QVERIFY(devices->isEditable());
        QVERIFY(devices->findData(QStringLiteral("/tmp/z5-test-com7")) >= 0);

        devices->lineEdit()->selectAll();
        QTest::keyClicks(devices->lineEdit(), QStringLiteral("/nowhere/tty9"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        UiFixture::settle();
        QVERIFY2(f.window->portDialog() && dialog->isVisible(), "a device that is not there keeps the dialog open");
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QCOMPARE(f.prompts.messages[0].text, QStringLiteral("Устройство «/nowhere/tty9» не найдено."));

        devices->lineEdit()->selectAll();
        QTest::keyClicks(devices->lineEdit(), unmapped.fileName());
        dialog->close();
        UiFixture::settle();
        QVERIFY(!f.window->portDialog());
        QCOMPARE(int(f.session.line.settings().portNumber), 5);
        QCOMPARE(z5::PortSettings::deviceName(5), unmapped.fileName());
        qunsetenv("Z5_COM7");
    }

    void stationClickStoresAtOnceAndGivesTheOwnerBack() {
        UiFixture f;
        f.window->stationAction()->trigger();
        z5::StationDialog *dialog = f.window->stationDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName(), QStringLiteral("num_NET_Z5"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Номер Z5 в сети"));
        QCOMPARE(dialog->owner(), static_cast<QWidget *>(f.window.get()));
        QVERIFY(!f.window->isEnabled());

        QListWidget *list = dialog->stationList();
        QCOMPARE(list->objectName(), QStringLiteral("N_NET_Z5"));
        QCOMPARE(list->count(), 8);
        QCOMPARE(list->item(0)->text(), QStringLiteral("№1"));
        QCOMPARE(list->item(7)->text(), QStringLiteral("№8"));
        QCOMPARE(list->currentRow(), 0);

        clickRow(list, 7);
        QCOMPARE(f.session.line.settings().station, 8);
        QVERIFY(f.window->portStatus()->text().endsWith(QStringLiteral("Z5 №8")));
        QVERIFY(f.window->isEnabled());
        QVERIFY(dialog->isVisible());  // stays open until closed

        // A second "&Номер Z5" while it is open brings no second dialog.
        f.window->stationAction()->trigger();
        QCOMPARE(f.window->stationDialog(), dialog);

        f.window->setEnabled(false);
        dialog->close();
        UiFixture::settle();
        QVERIFY(f.window->isEnabled());  // closing gives the owner back again
        QCOMPARE(quint8(sendRead(f)[0]), quint8(0x08));
    }

    void stationDialogOfAnotherOwnerLeavesTheMainWindowAlone() {
        UiFixture f;
        QWidget console;
        console.show();
        f.session.line.changeStation(3);
        auto *dialog = new z5::StationDialog(f.session.line, &console);
        dialog->show();
        QVERIFY(!console.isEnabled());
        QVERIFY(f.window->isEnabled());
        QCOMPARE(dialog->stationList()->currentRow(), 2);
        QVERIFY(dialog->findChild<QLabel *>("lblDevice")->text().contains(z5::PortSettings::deviceName(4)));
        clickRow(dialog->stationList(), 4);
        QCOMPARE(f.session.line.settings().station, 5);
        QVERIFY(console.isEnabled());
        console.setEnabled(false);
        QTest::keyClick(dialog, Qt::Key_Escape);
        UiFixture::settle();
        QVERIFY(console.isEnabled());
    }

    // Stations 3 and 6 answer, 5 sends damaged replies: only an answering one can be taken.
    void stationSearchListsWhoAnswersAndTakesTheChosenOne() {
        UiFixture f;
        f.port.responder = [](const QByteArray &written) {
            const int station = written.size() == 8 ? quint8(written[0]) : 0;
            if (station != 3 && station != 5 && station != 6) return QByteArray();
            QByteArray reply = z5::testframes::blockReply(char(station));
            if (station == 5) reply[259] = char(reply[259] ^ 1);
            return reply;
        };
        f.window->findStationsAction()->trigger();
        z5::StationScanDialog *dialog = f.window->stationScanDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Поиск станций"));
        QCOMPARE(dialog->statusLine()->text(), QStringLiteral("Идёт поиск…"));
        QVERIFY(!f.window->isEnabled());
        f.clock.advance(3000);

        QTreeWidget *list = dialog->stationList();
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + u' ' + list->topLevelItem(i)->text(1);
        QCOMPARE(rows, (QStringList{QStringLiteral("№1 нет ответа"), QStringLiteral("№2 нет ответа"), QStringLiteral("№3 отвечает"),
                                    QStringLiteral("№4 нет ответа"), QStringLiteral("№5 ответ искажён"), QStringLiteral("№6 отвечает"),
                                    QStringLiteral("№7 нет ответа"), QStringLiteral("№8 нет ответа")}));
        QCOMPARE(dialog->statusLine()->text(), QStringLiteral("Отвечают: №3, №6"));
        QCOMPARE(f.session.line.settings().station, 1);

        const auto clickStationRow = [list](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
        };
        clickStationRow(4);
        QVERIFY(!dialog->takeButton()->isEnabled());
        clickStationRow(5);
        QVERIFY(dialog->takeButton()->isEnabled());
        QTest::mouseClick(dialog->takeButton(), Qt::LeftButton);
        UiFixture::settle();
        QVERIFY(!f.window->stationScanDialog());
        QCOMPARE(f.session.line.settings().station, 6);
        QVERIFY(f.window->portStatus()->text().endsWith(QStringLiteral("Z5 №6")));
        QVERIFY(f.window->isEnabled());
        f.port.clearWrites();
        f.session.line.enqueue(z5::Request::blockRead(0));
        QCOMPARE(quint8(f.port.writes().front().bytes[0]), quint8(0x06));
    }

    void noDialogOpensWhileAWriteIsSending() {
        UiFixture f;
        QVERIFY(f.session.chain.startDownload());
        f.window->portAction()->trigger();
        f.window->stationAction()->trigger();
        f.window->findStationsAction()->trigger();
        QVERIFY(!f.window->portDialog());
        QVERIFY(!f.window->stationDialog());
        QVERIFY(!f.window->stationScanDialog());
        QCOMPARE(f.prompts.beeps, 3);
        f.clock.advance(6300);
        f.window->portAction()->trigger();
        QVERIFY(f.window->portDialog());
    }
};

static z5::uitest::Registrar<NetworkDialogsTest> registrar;

#include "NetworkDialogsTest.moc"
