// Auto refresh against z5-sim while the far end vanishes and comes back at the
// same device path: the console says so, stops reading, and reads again once
// the block is picked again.
#include "SimConsole.h"
#include "SimProcess.h"
#include "link/QtSerialPort.h"
#include "model/BlockCatalogue.h"
#include "ui/ConsoleCanvas.h"
#include "ui/ConsoleIcon.h"
#include "ui/ConsoleWindow.h"
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace z5;
using z5::uitest::SimConsole;
using z5::uitest::writeNetlist;

namespace {

// The real port, counting what the console asks of it.
class CountingPort : public SerialPort {
public:
    bool open(const QString &device) override {
        ++opens;
        return port.open(device);
    }
    void close() override { port.close(); }
    bool isOpen() const override { return port.isOpen(); }
    bool write(const QByteArray &bytes) override {
        ++writes;
        return port.write(bytes);
    }
    qint64 bytesAvailable() const override { return port.bytesAvailable(); }
    QByteArray readAll() override { return port.readAll(); }
    QString errorString() const override { return port.errorString(); }
    void setArrivalHandler(std::function<void()> handler) override { port.setArrivalHandler(std::move(handler)); }

    QtSerialPort port;
    int opens = 0;
    int writes = 0;
};

int blockReads(const SimProcess &sim) {
    int n = 0;
    for (const auto &r : sim.timeline())
        if (r.value(QStringLiteral("request")).toString() == QStringLiteral("block read")) ++n;
    return n;
}

} // namespace

class RefreshVanishE2e : public QObject {
    Q_OBJECT
private slots:
    void farEndVanishesDuringRefreshAndComesBack() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("z5"));
        auto sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--link"), link});
        QVERIFY2(sim->running(), "z5-sim did not start");
        qputenv("Z5_COM4", link.toLocal8Bit());
        const QString net = writeNetlist(dir, QStringLiteral("one.net"),
                                         "(netlist \"one\"\n(compInst \"U1\"\n(originalName \"MUL\")\n(compValue \"1_1\")\n)\n)\n");
        QVERIFY(!net.isEmpty());
        SimConsole<CountingPort> rig;
        QCOMPARE(rig.import(net), 1);

        auto pick = [&] { QTest::mouseClick(rig.console.canvas()->icon(BlockType::MUL - 1), Qt::LeftButton, {}, QPoint(5, 5)); };
        const QString answered = QStringLiteral("Ответ блока U1 получен");
        pick();
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.replyStatus()->text(), answered, 5000);
        auto *refresh = rig.console.findChild<QComboBox *>(QStringLiteral("Combo_REFRESH"));
        QVERIFY(refresh);
        refresh->setCurrentIndex(refresh->findData(250));
        QTRY_VERIFY_WITH_TIMEOUT(blockReads(*sim) >= 4, 5000);

        sim->kill();
        const auto failed = [&] {
            const QString s = rig.console.replyStatus()->text();
            return s == QStringLiteral("Нет сети") || s == QStringLiteral("Нет ответа от Z5");
        };
        QTRY_VERIFY_WITH_TIMEOUT(failed(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.console.awaitsReply(), 3000);
        // Said once, with the port's own reason after "Нет сети!!!".
        QCOMPARE(int(rig.prompts.messages.size()), 1);
        QVERIFY2(rig.prompts.messages[0].text.startsWith(QStringLiteral("Нет сети!!!\nПорт ")),
                 qPrintable(rig.prompts.messages[0].text));

        // Gone is gone: three seconds of twelve refresh intervals send nothing more.
        const int writesWhileGone = rig.port.writes;
        const int opensWhileGone = rig.port.opens;
        pumpEvents(3000);
        QCOMPARE(rig.port.writes, writesWhileGone);
        QCOMPARE(rig.port.opens, opensWhileGone);
        QVERIFY(failed());
        QCOMPARE(int(rig.prompts.messages.size()), 1);
        // The box says the refresh has stopped.
        QCOMPARE(refresh->currentText(), QStringLiteral("нет"));

        // Back at the same path; nothing is read until the user picks the block.
        sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--link"), link});
        QVERIFY2(sim->running(), "z5-sim did not start again");
        pumpEvents(1000);
        QCOMPARE(blockReads(*sim), 0);
        pick();
        QTRY_COMPARE_WITH_TIMEOUT(rig.console.replyStatus()->text(), answered, 5000);
        QVERIFY(blockReads(*sim) >= 1);
        // Refreshing goes on once the user picks an interval again.
        refresh->setCurrentIndex(refresh->findData(250));
        QTRY_VERIFY_WITH_TIMEOUT(blockReads(*sim) >= 4, 5000);
    }
};

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    RefreshVanishE2e test;
    return QTest::qExec(&test, argc, argv);
}

#include "RefreshVanishE2e.moc"
