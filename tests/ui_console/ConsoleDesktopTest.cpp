// The console as a desktop window: it asks before sending an empty schema, its
// status bar names the port and the station, and a status text that no longer
// holds goes.
#include "ConsoleRig.h"
#include "UiTestRegistry.h"
#include "model/BlockCatalogue.h"
#include "ui/StationDialog.h"
#include <QAction>
#include <QListWidget>

using namespace z5;
using z5::uitest::blockReply;
using z5::uitest::ConsoleRig;

class ConsoleDesktopTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

private slots:
    void init() { rig = std::make_unique<ConsoleRig>(); }
    void cleanup() { rig.reset(); }

    void anEmptySchemaIsSentOnlyWhenTheUserSaysSo() {
        rig->prompts.confirmAnswer = false;
        rig->console.action("mnuSAVE_485")->trigger();
        QCOMPARE(rig->prompts.messages.size(), std::size_t(1));
        QCOMPARE(rig->prompts.messages[0].text, ConsoleCore::emptyDownloadQuestion());
        QCOMPARE(rig->prompts.messages[0].text, QStringLiteral("Схема не загружена. Записать пустую схему в Z5?"));
        QVERIFY(rig->port.writes().empty());
        QVERIFY(rig->console.isEnabled());

        rig->prompts.confirmAnswer = true;
        rig->console.action("mnuSAVE_485")->trigger();
        QVERIFY(!rig->port.writes().empty());
        QVERIFY(!rig->console.isEnabled());
        rig->clock.advance(6300);

        // With a schema imported nobody is asked.
        rig->importExample();
        rig->prompts.messages.clear();
        rig->console.action("mnuSAVE_485")->trigger();
        QVERIFY(rig->prompts.messages.empty());
        rig->clock.advance(6300);
    }

    void theStatusBarNamesThePortAndFollowsTheStation() {
        QCOMPARE(rig->console.portStatus()->text(),
                 QStringLiteral("COM4: %1    Z5 №1").arg(PortSettings::deviceName(4)));
        rig->console.action("mnu_NUM_Z5")->trigger();
        auto *dialog = rig->console.findChild<StationDialog *>();
        QVERIFY(dialog);
        QListWidget *list = dialog->stationList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
        QVERIFY(rig->console.portStatus()->text().endsWith(QStringLiteral("Z5 №3")));
        dialog->close();
    }

    void aFailedCommandReplacesTheTextOfTheLastGoodOne() {
        rig->importExample();
        rig->port.responder = [](const QByteArray &w) { return w.size() == 8 ? blockReply() : QByteArray(); };
        rig->console.action("mnuSTART_PROCESS")->trigger();
        rig->clock.advance(150);
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Ответ Z5 получен"));
        rig->port.refuseOpen = true;
        rig->port.close();
        rig->console.action("mnuPAUSE_PROCESS")->trigger();
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Нет сети"));
    }
};

static z5::uitest::Registrar<ConsoleDesktopTest> registrar;
#include "ConsoleDesktopTest.moc"
