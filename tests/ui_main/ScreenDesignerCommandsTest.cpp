// The designer's commands that already work: screen files, the background
// picture and new elements, through scripted file dialogs.
#include "UiTestRegistry.h"
#include "model/RecordingPrompts.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenDesignerCommands.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Designer {
    z5::ScreenModel model;
    z5::ScreenBuilder builder;
    z5::RecordingPrompts prompts;
    z5::ScreenDesignerCommands commands{model, builder, prompts};
};

QString writePicture(const QTemporaryDir &dir, const QString &name, QColor colour) {
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    return image.save(path) ? path : QString();
}

} // namespace

class ScreenDesignerCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void seventeenthElementDoesNothing() {
        Designer d;
        for (int k = 0; k < 16; ++k) {
            QCOMPARE(d.commands.addParameter(), k);
            QCOMPARE(d.commands.addAlarm(), k);
        }
        QCOMPARE(d.commands.addParameter(), -1);
        QCOMPARE(d.commands.addAlarm(), -1);
        const z5::ScadaParameter &p = *d.model.parameter(15);
        QVERIFY(p.used && p.numberBox.visible);
        QCOMPARE(p.numberBox.left, 420);
        QCOMPARE(p.numberBox.top, 270);
        QVERIFY(d.model.alarm(15)->marker.visible);
    }

    void saveNewLoadGivesTheScreenBack() {
        QTemporaryDir dir;
        Designer d;
        d.commands.addParameter();
        d.model.parameter(0)->numberBox.left = 420 + 30 * 10;
        d.model.setParameterColor(0, 2);
        d.commands.addAlarm();
        d.model.setAlarmText(0, QStringLiteral("Авария, \"котёл\""));
        const QString path = dir.filePath("screen.scd");
        d.prompts.saveNames << path;
        QVERIFY(d.commands.saveScreen());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), z5::ScreenFile::kLines);
        // Saving recomputed the element words from the controls.
        QCOMPARE(d.model.coord(0), 11);
        const z5::ScreenModel saved = d.model;

        d.commands.newScreen();
        QVERIFY(!d.model.parameter(0)->used);
        QCOMPARE(d.model.coord(0), 0);

        QImage picture(1, 1, QImage::Format_RGB32);
        d.prompts.openNames << path;
        QVERIFY(d.commands.loadScreen(picture));
        QVERIFY(picture.isNull());  // the file names no background
        QVERIFY(d.model == saved);
        QVERIFY(d.prompts.messages.empty());
    }

    void cancelledDialogsChangeNothing() {
        Designer d;
        d.commands.addParameter();
        d.commands.editor().markSaved();  // no question before the load
        const z5::ScreenModel before = d.model;
        QImage picture(2, 2, QImage::Format_RGB32);
        QVERIFY(!d.commands.saveScreen());
        QVERIFY(!d.commands.loadScreen(picture));
        QVERIFY(!d.commands.chooseBackground(picture));
        QCOMPARE(picture.size(), QSize(2, 2));
        QVERIFY(d.prompts.messages.empty());
        QCOMPARE(d.model.backgroundPath(), before.backgroundPath());
    }

    void backgroundLoadsAndABadOneKeepsThePrevious() {
        QTemporaryDir dir;
        Designer d;
        const QString good = writePicture(dir, "background.png", Qt::green);
        QImage picture;
        d.prompts.openNames << good;
        QVERIFY(d.commands.chooseBackground(picture));
        QCOMPARE(picture.size(), QSize(32, 24));
        QCOMPARE(d.model.backgroundPath(), good);

        QFile junk(dir.filePath("junk.png"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a picture");
        junk.close();
        d.prompts.openNames << junk.fileName();
        QVERIFY(!d.commands.chooseBackground(picture));
        QCOMPARE(d.prompts.messages.back().text,
                 z5::PictureLoader::wrongTypeMessage() + QStringLiteral("\nэто не картинка BMP, PNG, JPEG или GIF"));
        QCOMPARE(picture.size(), QSize(32, 24));
        QCOMPARE(d.model.backgroundPath(), good);
    }

    void loadReloadsTheBackgroundTheFileNames() {
        QTemporaryDir dir;
        Designer d;
        const QString background = writePicture(dir, "background.bmp", Qt::yellow);
        d.model.setBackgroundPath(background);
        const QString path = dir.filePath("with-background.scd");
        QVERIFY(z5::ScreenFile::save(path, d.model));
        Designer other;
        QImage picture;
        other.prompts.openNames << path;
        QVERIFY(other.commands.loadScreen(picture));
        QCOMPARE(picture.size(), QSize(32, 24));

        // The picture has gone since: the screen loads, the preview keeps what it had.
        QFile::remove(background);
        QImage kept(5, 5, QImage::Format_RGB32);
        other.prompts.openNames << path;
        QVERIFY(other.commands.loadScreen(kept));
        QCOMPARE(kept.size(), QSize(5, 5));
        QCOMPARE(other.prompts.messages.back().text,
                 z5::PictureLoader::wrongTypeMessage() + QStringLiteral("\nфайл не найден или не читается"));
    }

    void aBrokenScreenFileNamesItsLineAndChangesNothing() {
        QTemporaryDir dir;
        Designer d;
        d.commands.addParameter();
        d.commands.editor().markSaved();  // no question before the load
        const z5::ScreenModel before = d.model;
        QFile file(dir.filePath("short.scd"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\r\n 1 \r\n");
        file.close();
        QImage picture;
        d.prompts.openNames << file.fileName();
        QVERIFY(!d.commands.loadScreen(picture));
        QCOMPARE(d.prompts.messages.size(), std::size_t(1));
        QVERIFY(d.prompts.messages[0].text.startsWith(QStringLiteral("Строка ")));
        QVERIFY(d.model == before);
    }

    void aFailedSaveSaysTheFileIsLocked() {
        Designer d;
        d.prompts.saveNames << QStringLiteral("/nonexistent-dir/screen.scd");
        QVERIFY(!d.commands.saveScreen());
        QCOMPARE(d.prompts.messages.size(), std::size_t(1));
        QVERIFY(d.prompts.messages[0].text.startsWith(z5::ScreenFile::saveFailedMessage()));
    }
};

static z5::uitest::Registrar<ScreenDesignerCommandsTest> registrar;

#include "ScreenDesignerCommandsTest.moc"
