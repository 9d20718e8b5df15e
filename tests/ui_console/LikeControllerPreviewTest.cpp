// "Как на Z5" shows what the controller receives in the chosen display mode.
#include "UiTestRegistry.h"
#include "link/FakeSerialPort.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "screen/ControllerView.h"
#include "ui/MainWindow.h"
#include "ui/ScreenPreview.h"
#include "ui/Session.h"
#include <QAction>
#include <QComboBox>
#include <QTest>

class LikeControllerPreviewTest : public QObject {
    Q_OBJECT

    static QRgb shownAt(z5::ScreenPreview *preview, int x, int y) {
        // Screen pixel (x, y) of the preview, in the middle of its window pixels.
        const QRect screen(z5::ScreenPreview::px(z5::ScreenPreview::kPreviewLeft),
                           z5::ScreenPreview::px(z5::ScreenPreview::kPreviewTop),
                           z5::ScreenPreview::px(z5::ScreenPreview::kPreviewWidth),
                           z5::ScreenPreview::px(z5::ScreenPreview::kPreviewHeight));
        const int scale = screen.width() / 320;
        return preview->grab().toImage().pixel(screen.left() + scale * x + scale / 2,
                                               screen.top() + scale * y + scale / 2) & 0xFFFFFF;
    }

private slots:
    void theBottomRowThatPackedModeCannotCarryIsGrey() {
        z5::VirtualClock clock;
        z5::FakeSerialPort port{&clock};
        z5::RecordingPrompts prompts;
        z5::Session session{clock, port, prompts};
        z5::MainWindow window(session);
        window.show();
        auto *preview = window.findChild<z5::ScreenPreview *>(QStringLiteral("Picture1"));
        auto *mode = window.findChild<QComboBox *>(QStringLiteral("TFT_LCD"));
        auto *like = window.findChild<QAction *>(QStringLiteral("mnuLikeZ5"));
        QVERIFY(preview && mode && like);
        QImage green(320, 240, QImage::Format_RGB32);
        green.fill(QColor(0, 200, 0));
        preview->setPicture(green);
        like->setChecked(true);

        QCOMPARE(mode->currentIndex(), 1);  // packed, the start mode
        const QRgb grey = z5::ControllerView::notReceivedColour().rgb() & 0xFFFFFF;
        QCOMPARE(shownAt(preview, 300, 239), grey);
        QCOMPARE(shownAt(preview, 300, 238), QRgb(0x00FF00));
        QCOMPARE(shownAt(preview, 1, 239), QRgb(0x00FF00));

        mode->setCurrentIndex(0);  // run-length carries the whole picture
        QCOMPARE(shownAt(preview, 300, 239), QRgb(0x00FF00));
        mode->setCurrentIndex(1);
        QCOMPARE(shownAt(preview, 300, 239), grey);
        like->setChecked(false);
        QCOMPARE(shownAt(preview, 300, 239), QRgb(0x00C800));
    }
};

static z5::uitest::Registrar<LikeControllerPreviewTest> registrar;
#include "LikeControllerPreviewTest.moc"
