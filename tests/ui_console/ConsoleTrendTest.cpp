// A left click on the trend recorder opens the trend window and reads the page
// being recorded through the console's port.
#include "ConsoleRig.h"
#include "TrendRig.h"
#include "UiTestRegistry.h"
#include "ui/TrendWindow.h"

using namespace z5;
using z5::uitest::ConsoleRig;

namespace {
constexpr int kRecorder = 10;   // U11

TrendWindow *trendWindow() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<TrendWindow *>(w); t && t->isVisible()) return t;
    return nullptr;
}
} // namespace

class ConsoleTrendTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;

private slots:
    void init() {
        rig = std::make_unique<ConsoleRig>();
        rig->importExample();
    }
    void cleanup() {
        if (TrendWindow *w = trendWindow()) delete w;
        rig.reset();
    }

    void leftClickReadsTheRecordingPageIntoTheTrendWindow() {
        // Answers part requests of U11: station, 3, 11, 10 + part, code, page.
        rig->port.replyDelayMs = 98;
        rig->port.responder = [](const QByteArray &frame) {
            if (frame.size() < 6 || quint8(frame[2]) != kRecorder + 1 || quint8(frame[3]) < 10) return QByteArray();
            const int page = quint8(frame[5]) == 0 ? 3 : quint8(frame[5]);
            return z5::testing::trendPart(page, quint8(frame[3]) - 10, 45, 3);
        };
        rig->click(kRecorder, Qt::LeftButton);
        // The window appears with a complete page, not empty before it.
        QVERIFY(!trendWindow());
        QVERIFY(!rig->console.isEnabled());
        QCOMPARE(rig->port.writes()[0].bytes.toHex(' '), QByteArray("01 03 0b 0a 00 00 ") +
                     QByteArray::number(Link::checkValueOf(QByteArray::fromHex("01030b0a0000")) >> 8, 16).rightJustified(2, '0') + ' ' +
                     QByteArray::number(Link::checkValueOf(QByteArray::fromHex("01030b0a0000")) & 0xFF, 16).rightJustified(2, '0'));
        rig->clock.advance(6000);
        TrendWindow *w = trendWindow();
        QVERIFY(w);
        QVERIFY(w->isEnabled());
        QCOMPARE(w->session().page().pageNumber, 3);
        QCOMPARE(w->session().page().rowCount, 40);
        QCOMPARE(w->findChild<QLabel *>("sheet_GRAFIK")->text(), QStringLiteral("3"));
        QVERIFY(!rig->console.isEnabled());
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Страница графика U11 прочитана"));
        w->close();
        QVERIFY(rig->console.isEnabled());
        // Nothing is being read once the window has gone.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!trendWindow());
        QCOMPARE(rig->console.replyStatus()->text(), QString());
    }

    void portThatDoesNotOpenSaysNoNetworkAndGivesTheWindowsBack() {
        rig->port.refuseOpen = true;
        rig->click(kRecorder, Qt::LeftButton);
        // No empty window is left to close: the console is back at once.
        QVERIFY(!trendWindow());
        QVERIFY(rig->console.isEnabled());
        QVERIFY(rig->prompts.messages.back().text.startsWith(QStringLiteral("Нет сети!!!")));
        // The same stop sign as the console's own "Нет сети!!!".
        QVERIFY(rig->prompts.messages.back().kind == Prompts::Kind::Error);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(rig->console.replyStatus()->text(), QStringLiteral("Нет сети"));
    }
};

static z5::uitest::Registrar<ConsoleTrendTest> registrar;
#include "ConsoleTrendTest.moc"
