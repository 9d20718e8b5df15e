// The whole road through the console: import the example, tune a value, download
// from the console's menu into z5-sim on a pseudo-terminal, then read a block.
#include "ConsoleParts.h"
#include "SimConsole.h"
#include "SimSession.h"
#include "download/ProjectDownloadTables.h"
#include "link/QtSerialPort.h"
#include "model/BlockCatalogue.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleIcon.h"
#include "ui/ConsoleParameterView.h"
#include "console/PanelKeys.h"
#include "ui/ConsoleWindow.h"
#include "ui/LiveViewPane.h"
#include "ui/PanelPictureWidget.h"
#include "ui/ValueTableWidget.h"
#include <QTemporaryDir>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

using namespace z5;
using z5::e2e::hexBytes;
using z5::e2e::SimSession;
using z5::uitest::SimConsole;
using z5::uitest::writeNetlist;

namespace {
constexpr int kPid = 3;  // U4
}

class ConsoleIntoSimE2e : public QObject {
    Q_OBJECT
private slots:
    void downloadFromTheConsoleMenuArrivesWhole() {
        SimSession sim;
        QVERIFY2(!sim.device().isEmpty(), "z5-sim did not start");
        qputenv("Z5_COM4", sim.device().toLocal8Bit());

        SimConsole<QtSerialPort> rig;
        QCOMPARE(rig.import(QStringLiteral(Z5_SOURCE_DIR "/examples/boiler.net")), 14);

        // "Период" of the PID block, typed into its panel.
        ConsoleIcon *pid = rig.console.canvas()->icon(BlockType::PID - 1);
        QVERIFY(pid->isVisible());
        QTest::mouseClick(pid, Qt::RightButton, {}, QPoint(5, 5));
        QLineEdit *period = z5::uitest::parameterView(rig.console)->rowField(1);
        QVERIFY(period->isVisible());
        period->selectAll();
        QTest::keyClicks(period, "2.5");
        // Not left yet: the write finishes the field before anything goes out.
        QCOMPARE(rig.session.store.numbersPID.value(0, 4), 0.0f);
        rig.console.action("mnuSAVE_485")->trigger();
        QCOMPARE(rig.session.store.numbersPID.value(0, 4), 2.5f);
        QVERIFY(!rig.console.isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(rig.console.isEnabled(), 15000);
        QVERIFY(z5::uitest::progressBar(rig.console)->value() >= 55);
        QVERIFY2(rig.prompts.messages.empty(), qPrintable(rig.prompts.messages.empty() ? QString() : rig.prompts.messages[0].text));

        // A left click on the PID block reads it back from the simulator.
        QTest::mouseClick(pid, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.replyStatus()->text(), QStringLiteral("Ответ блока U4 получен"), 5000);
        QVERIFY(rig.console.takesInput());
        sim.stop();

        // The simulator saw tables 0 to 11, each header followed by exactly the
        // bytes the tables hold, then the read of U4.
        const ProjectDownloadTables tables(rig.session.project, rig.session.store, &rig.session.screen);
        std::vector<QJsonObject> headers, data, reads;
        for (const QJsonObject &e : sim.timeline()) {
            const QString what = e.value("what").toString();
            if (what == "header" && e.value("write").toString() == "table") headers.push_back(e);
            else if (what == "data") data.push_back(e);
            else if (what == "header" && e.value("request").toString() == "block read") reads.push_back(e);
        }
        QCOMPARE(headers.size(), std::size_t(12));
        QCOMPARE(data.size(), std::size_t(12));
        for (int t = 0; t < 12; ++t) {
            QCOMPARE(headers[t].value("table").toInt(), t);
            QVERIFY2(hexBytes(data[t]) == tables.table(t).data, qPrintable(QString("table %1").arg(t)));
        }
        const qint64 start = headers.front().value("ms").toInteger();
        QVERIFY(qAbs(headers[10].value("ms").toInteger() - start - 4200) <= 30);
        QVERIFY(qAbs(headers[11].value("ms").toInteger() - start - 6100) <= 30);
        // The period went out as 2500 in the parameter table.
        QVERIFY(hexBytes(data[10]).contains(QByteArray::fromHex("c4090000")));
        QCOMPARE(reads.size(), std::size_t(1));
        QCOMPARE(reads[0].value("block").toInt(), kPid + 1);
    }

    // One left click per kind of block: a generic block's values, a setpoint
    // programmer's setpoints and a panel key's lamp, all from the simulator.
    void liveValuesSetpointsAndPanelKeysComeFromTheController() {
        SimSession sim;
        QVERIFY2(!sim.device().isEmpty(), "z5-sim did not start");
        qputenv("Z5_COM4", sim.device().toLocal8Bit());
        QTemporaryDir dir;
        const QString net = writeNetlist(dir, QStringLiteral("live.net"),
                                         "(netlist \"live\"\n"
                                         "(compInst \"U1\"\n(originalName \"PAN\")\n(compValue \"1_1\")\n)\n"
                                         "(compInst \"U2\"\n(originalName \"S_P\")\n(compValue \"2_1\")\n)\n"
                                         "(compInst \"U3\"\n(originalName \"MUL\")\n(compValue \"3_1\")\n)\n)\n");
        QVERIFY(!net.isEmpty());
        SimConsole<QtSerialPort> rig;
        QCOMPARE(rig.import(net), 3);
        rig.session.store.numbersPAN.setValue(0, 0, 1.0f);
        for (int k = 0; k < 8; ++k) rig.session.store.numbersS_P.setValue(0, k, k + 1.5f);
        rig.console.action("mnuSAVE_485")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(rig.console.isEnabled(), 15000);

        auto pick = [&](int type) {
            QTest::mouseClick(rig.console.canvas()->icon(type - 1), Qt::LeftButton, {}, QPoint(5, 5));
        };
        pick(BlockType::MUL);
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.replyStatus()->text(), QStringLiteral("Ответ блока U3 получен"), 5000);
        const ValueTable &table = z5::uitest::liveViewPane(rig.console)->valueTable()->table();
        QCOMPARE(int(table.rows().size()), 8);
        // Instance 1 swings about 10 + row.
        QVERIFY(qAbs(table.rows()[2].left.number - 12.0) <= 1.001);

        pick(BlockType::S_P);
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.replyStatus()->text(), QStringLiteral("Ответ блока U2 получен"), 5000);
        QCOMPARE(z5::uitest::parameterView(rig.console)->rowField(1)->text(), QStringLiteral("1.5"));
        QCOMPARE(z5::uitest::parameterView(rig.console)->rowField(15)->text(), QStringLiteral("8.5"));

        pick(BlockType::PAN);
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.replyStatus()->text(), QStringLiteral("Ответ блока U1 получен"), 5000);
        PanelPictureWidget *panel = z5::uitest::liveViewPane(rig.console)->panelPicture(2);
        QVERIFY(panel->isVisible());
        QVERIFY(panel->face().lamps().empty());
        QTest::mouseClick(panel, Qt::LeftButton, {}, panel->toWidget(PanelKeys::keyRect(1).center()));
        QTRY_COMPARE_WITH_TIMEOUT(int(panel->face().lamps().size()), 1, 5000);
        QCOMPARE(panel->face().lamps()[0].centre, QPoint(24, 57));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.console.awaitsReply(), 5000);
    }
};

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ConsoleIntoSimE2e test;
    return QTest::qExec(&test, argc, argv);
}

#include "ConsoleIntoSimE2e.moc"
