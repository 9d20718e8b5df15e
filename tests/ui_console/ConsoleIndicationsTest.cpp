// What the console says ends with what it describes: "Обновлять" goes back to
// "нет" with the reason in the status line once the refresh stops, the value
// age goes with it, and the progress bar is empty after a read or a failed write.
#include "ConsoleRig.h"
#include "UiTestRegistry.h"
#include <QProgressBar>
#include <functional>

using namespace z5;
using z5::uitest::ConsoleRig;
using Stopper = std::function<void(ConsoleRig &)>;
Q_DECLARE_METATYPE(Stopper)

namespace {
constexpr int kPid = 3;          // U4
constexpr int kSetpoint = 13;    // U14 of the example is S_P

QLabel *valueAge(ConsoleRig &rig) { return rig.console.findChild<QLabel *>(QStringLiteral("lblValueAge")); }
} // namespace

class ConsoleIndicationsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

private slots:
    void init() {
        rig = std::make_unique<ConsoleRig>();
        rig->importExample();
        rig->port.responder = [](const QByteArray &) { return z5::uitest::blockReply(); };
    }
    void cleanup() { rig.reset(); }

    void aStoppedRefreshSaysNetAndWhy_data() {
        QTest::addColumn<Stopper>("stop");
        QTest::addColumn<QString>("status");
        QTest::newRow("no reply") << Stopper([](ConsoleRig &r) {
            r.port.responder = [](const QByteArray &) { return QByteArray(); };
            r.clock.advance(5000);
        }) << QStringLiteral("Нет ответа от Z5");
        QTest::newRow("write of another window") << Stopper([](ConsoleRig &r) {
            r.clock.advance(150);
            QVERIFY(r.session.line.enqueue(z5::WriteSequence().mark(0, 0)));
        }) << QStringLiteral("Обновление остановлено: запись в Z5");
        QTest::newRow("pause") << Stopper([](ConsoleRig &r) {
            r.clock.advance(150);
            r.console.pauseProcess();
            r.clock.advance(300);   // the same bytes as the read before: held a little for a reply following them
        }) << QStringLiteral("Ответ Z5 получен");
        QTest::newRow("right click") << Stopper([](ConsoleRig &r) {
            r.clock.advance(150);
            r.click(kPid, Qt::RightButton);
            r.clock.advance(150);
        }) << QStringLiteral("Ответ блока U4 получен");
    }
    void aStoppedRefreshSaysNetAndWhy() {
        QFETCH(Stopper, stop);
        QFETCH(QString, status);
        z5::uitest::refreshChoice(rig->console)->setCurrentIndex(1);   // 250 ms
        rig->click(kPid, Qt::LeftButton);
        rig->clock.advance(150);
        QVERIFY(rig->console.core().refresh().isArmed());
        QVERIFY(!valueAge(*rig)->text().isEmpty());
        stop(*rig);
        QCOMPARE(z5::uitest::refreshChoice(rig->console)->currentText(), QStringLiteral("нет"));
        QVERIFY(!rig->console.core().refresh().isOn());
        QCOMPARE(valueAge(*rig)->text(), QString());
        QCOMPARE(rig->console.replyStatus()->text(), status);
        // Nothing is read any more.
        const std::size_t sent = rig->port.writes().size();
        rig->clock.advance(3000);
        QCOMPARE(rig->port.writes().size(), sent);
    }

    void anEditInTheSetpointsStopsTheRefreshAndSaysSo() {
        z5::uitest::refreshChoice(rig->console)->setCurrentIndex(1);
        rig->click(kSetpoint, Qt::LeftButton);
        rig->clock.advance(150);
        rig->typeInto(1, "5");
        QCOMPARE(z5::uitest::refreshChoice(rig->console)->currentText(), QStringLiteral("нет"));
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Обновление остановлено: значение изменено"));
    }

    void theProgressBarIsEmptyAfterAReadAndAFailedDownload() {
        rig->click(kPid, Qt::LeftButton);
        rig->clock.advance(150);
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), 0);
        // The port vanishes in the middle of a download.
        rig->console.downloadSchema();
        rig->clock.advance(1500);
        QVERIFY(z5::uitest::progressBar(rig->console)->value() > 0);
        rig->port.fail(QStringLiteral("device gone"));
        rig->clock.advance(15000);
        QVERIFY(rig->console.isEnabled());
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), 0);
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Нет сети"));
    }

    void aDownloadThatWentOutWholeCountsTheBarToItsEnd() {
        rig->console.downloadSchema();
        QVERIFY(!rig->console.isEnabled());
        rig->clock.advance(15000);
        QVERIFY(rig->console.isEnabled());
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Запись в Z5 закончена"));
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), z5::uitest::progressBar(rig->console)->maximum());
        QVERIFY(!rig->console.core().progress().progressTimer().isActive());
    }

    void aValueTheLineCannotCarryIsRefusedAsTyped() {
        rig->click(kPid, Qt::RightButton);
        rig->typeInto(1, "99999999999");
        // The store keeps the value from before the edit, not a prefix of what was typed.
        QCOMPARE(rig->session.store.numbersPID.value(0, 4), 0.0f);
        QCOMPARE(rig->text(1)->text(), QStringLiteral("99999999999"));
        QVERIFY(rig->text(1)->toolTip().endsWith(QStringLiteral("вне диапазона")));
    }

    void aRefusedDownloadLeavesTheBarStillBehindItsBox() {
        // Loaded from elsewhere: a value the line cannot carry.
        rig->session.store.numbersPID.setValue(0, 4, 1e11f);
        int barUnderTheBox = -1;
        rig->prompts.onMessage = [this, &barUnderTheBox](const QString &, const QString &) {
            rig->clock.advance(1500);   // the user reads the box
            barUnderTheBox = z5::uitest::progressBar(rig->console)->value();
        };
        rig->console.downloadSchema();
        QVERIFY(!rig->prompts.messages.empty());
        QVERIFY(rig->prompts.messages.back().text.startsWith(QStringLiteral("Ошибка параметра")));
        QCOMPARE(barUnderTheBox, 0);
        QVERIFY(rig->port.writes().empty());
        QVERIFY(rig->console.isEnabled());
    }

    void aDownloadThatCannotOpenThePortSaysNoNetwork() {
        rig->port.close();
        rig->port.refuseOpen = true;
        rig->console.downloadSchema();
        QVERIFY(rig->console.isEnabled());
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Нет сети"));
        QCOMPARE(z5::uitest::progressBar(rig->console)->value(), 0);
    }
};

static z5::uitest::Registrar<ConsoleIndicationsTest> registrar;
#include "ConsoleIndicationsTest.moc"
