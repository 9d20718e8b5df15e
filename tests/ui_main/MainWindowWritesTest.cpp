// Writes through the download chain as the main window shows them: its progress
// bar, its disabling from the first data block, and the window given back at 6 s.
#include "UiTestRegistry.h"
#include "UiFixture.h"
#include "link/Link.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include "ui/ScreenPreview.h"
#include <QProgressBar>
#include <QLabel>
#include <QTest>

class MainWindowWritesTest : public QObject {
    Q_OBJECT
private slots:
    void downloadShowsProgressAndGivesTheWindowBackAt6s() {
        UiFixture f;
        QProgressBar *bar = f.window->progressBar();
        QVERIFY(f.session.chain.startDownload());
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 1);
        QVERIFY(f.window->isEnabled());  // until the first data block

        f.clock.advance(100);
        QVERIFY(!f.window->isEnabled());
        f.clock.advance(1900);  // 2 s: first closing tick
        QCOMPARE(bar->value(), 1);
        QVERIFY(!f.window->isEnabled());
        f.clock.advance(2000);  // 4 s
        QCOMPARE(bar->value(), 2);
        QVERIFY(!f.window->isEnabled());
        f.clock.advance(1999);
        QVERIFY(!f.window->isEnabled());
        QVERIFY(bar->isVisible());
        f.clock.advance(1);  // 6 s: port closed, window given back
        QVERIFY(f.window->isEnabled());
        QVERIFY(!bar->isVisible());
        QVERIFY(!f.port.isOpen());

        // The alarm texts follow on a reopened port; the window stays enabled.
        f.clock.advance(200);
        QVERIFY(f.window->isEnabled());
        QVERIFY(f.port.isOpen());
        QVERIFY(!f.session.line.isBusy());
        const QByteArray last = f.port.writes().back().bytes;
        QCOMPARE(last.size(), z5::Link::tableDataCount(z5::tableNumber(z5::Table::AlarmTexts)));
    }

    void downloadOnAPortThatDoesNotOpenEndsAsAFailure() {
        UiFixture f;
        f.port.refuseOpen = true;
        QVERIFY(!f.session.chain.startDownload());
        f.clock.advance(6000);
        QVERIFY(f.window->isEnabled());
        QVERIFY(!f.window->progressBar()->isVisible());
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QVERIFY(f.prompts.messages[0].text.startsWith(QStringLiteral("Нет сети!!!\n")));
        QVERIFY(f.port.writes().empty());
        QCOMPARE(f.window->writeStatus()->text(), QStringLiteral("Запись в Z5 не закончена: Нет сети"));
    }

    void screenWriteKeepsTheDesignInViewAndSendsTheScreen() {
        UiFixture f;
        z5::ScreenPreview *preview = f.window->preview();
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(Qt::red);
        preview->setPicture(picture);
        QCOMPARE(f.window->addParameterAction()->isEnabled(), true);
        f.window->addParameterAction()->trigger();
        QVERIFY(f.session.screen.parameter(0)->used);

        f.window->writeScreenAction()->trigger();
        QVERIFY(preview->designerHidden());
        QVERIFY(f.port.writes().empty());
        f.clock.advance(500);  // the screen build timer: the build, the header
        QVERIFY(f.window->progressBar()->isVisible());
        QCOMPARE(f.port.writes().size(), std::size_t(1));
        QCOMPARE(quint8(f.port.writes()[0].bytes[0]), quint8(0x01));
        f.clock.advance(100);  // the screen stream
        QCOMPARE(f.port.writes().size(), std::size_t(2));
        QCOMPARE(f.port.writes()[1].bytes.size(), z5::wire::kScreenWriteLength);
        QCOMPARE(quint8(f.port.writes()[1].bytes[1]), quint8(z5::Link::kDataMarker));
        QVERIFY(!f.window->isEnabled());
        // The design stays in view while it is sent.
        QCoreApplication::processEvents();
        const QPoint middle((z5::ScreenPreview::kPreviewLeft + z5::ScreenPreview::kPreviewWidth / 2) / 15,
                            (z5::ScreenPreview::kPreviewTop + z5::ScreenPreview::kPreviewHeight / 2) / 15);
        QCOMPARE(preview->grab().toImage().pixelColor(middle), QColor(Qt::red));

        // A second write while this one is sending is refused with a beep.
        f.window->setEnabled(true);
        f.window->writeScreenAction()->trigger();
        QCOMPARE(f.prompts.beeps, 1);

        f.clock.advance(5900);  // 6.5 s: the closing
        QVERIFY(f.window->isEnabled());
        QVERIFY(!preview->designerHidden());
        QCOMPARE(preview->picture(), picture);
        QVERIFY(f.session.screen.parameter(0)->numberBox.visible);
        f.clock.advance(3000);  // the alarm texts after the closing
        QCOMPARE(f.window->writeStatus()->text(), QStringLiteral("Запись в Z5 закончена"));
    }

    void screenWriteOfATooWidePictureSaysSoAndStillEnds() {
        UiFixture f;
        QImage wide(321, 240, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        f.window->preview()->setPicture(wide);
        f.window->writeScreenAction()->trigger();
        f.clock.advance(500);
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QCOMPARE(f.prompts.messages[0].text, z5::ScreenBuilder::tooWideMessage());
        f.clock.advance(6000);
        QVERIFY(f.window->isEnabled());
        QVERIFY(!f.window->preview()->designerHidden());
        QVERIFY(!f.window->progressBar()->isVisible());
    }
};

static z5::uitest::Registrar<MainWindowWritesTest> registrar;

#include "MainWindowWritesTest.moc"
