// The designer's commands: screen files, the background picture and new
// elements, each answering how it ended; and the main window telling the user.
#include "UiFixture.h"
#include "UiTestRegistry.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenDesignerCommands.h"
#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Designer {
    z5::ScreenModel model;
    z5::ScreenBuilder builder;
    z5::ScreenDesignerCommands commands{model, builder};
};

using Outcome = z5::ScreenCommandResult::Outcome;
using Unsaved = z5::ScreenDesignerCommands::Unsaved;

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
        QVERIFY(d.commands.saveScreen(path).done());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), z5::ScreenFile::kLines);
        // Saving recomputed the element words from the controls.
        QCOMPARE(d.model.coord(0), 11);
        const z5::ScreenModel saved = d.model;

        QVERIFY(d.commands.newScreen().done());
        QVERIFY(!d.model.parameter(0)->used);
        QCOMPARE(d.model.coord(0), 0);

        QImage picture(1, 1, QImage::Format_RGB32);
        const z5::ScreenCommandResult loaded = d.commands.loadScreen(path, picture);
        QVERIFY(loaded.done());
        QVERIFY(loaded.problem.isEmpty());
        QVERIFY(picture.isNull());  // the file names no background
        QVERIFY(d.model == saved);
    }

    void unsavedChangesStopANewOrLoadedScreenUntilLetGo() {
        QTemporaryDir dir;
        Designer d;
        const QString path = dir.filePath("empty.scd");
        QVERIFY(d.commands.saveScreen(path).done());
        d.commands.addAlarm();
        QVERIFY(d.commands.hasUnsavedChanges());
        QImage picture;
        QCOMPARE(d.commands.newScreen().outcome, Outcome::UnsavedChanges);
        QCOMPARE(d.commands.loadScreen(path, picture).outcome, Outcome::UnsavedChanges);
        QVERIFY(d.model.alarm(0)->used);
        QVERIFY(d.commands.loadScreen(path, picture, Unsaved::Discard).done());
        QVERIFY(!d.model.alarm(0)->used);
        QVERIFY(!d.commands.hasUnsavedChanges());
    }

    void cancelledDialogsChangeNothing() {
        Designer d;
        d.commands.addParameter();
        d.commands.editor().markSaved();  // no question before the load
        const z5::ScreenModel before = d.model;
        QImage picture(2, 2, QImage::Format_RGB32);
        for (const z5::ScreenCommandResult &r :
             {d.commands.saveScreen(QString()), d.commands.loadScreen(QString(), picture),
              d.commands.chooseBackground(QString(), picture)}) {
            QCOMPARE(r.outcome, Outcome::Cancelled);
            QVERIFY(r.problem.isEmpty());
        }
        QCOMPARE(picture.size(), QSize(2, 2));
        QCOMPARE(d.model.backgroundPath(), before.backgroundPath());
    }

    void backgroundLoadsAndABadOneKeepsThePrevious() {
        QTemporaryDir dir;
        Designer d;
        const QString good = writePicture(dir, "background.png", Qt::green);
        QImage picture;
        const z5::ScreenCommandResult chosen = d.commands.chooseBackground(good, picture);
        QVERIFY(chosen.done());
        QVERIFY(chosen.oversizedPicture.isEmpty());
        QCOMPARE(picture.size(), QSize(32, 24));
        QCOMPARE(d.model.backgroundPath(), good);

        QFile junk(dir.filePath("junk.png"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a picture");
        junk.close();
        const z5::ScreenCommandResult refused = d.commands.chooseBackground(junk.fileName(), picture);
        QCOMPARE(refused.outcome, Outcome::Failed);
        QCOMPARE(refused.problem,
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
        QVERIFY(other.commands.loadScreen(path, picture).done());
        QCOMPARE(picture.size(), QSize(32, 24));

        // The picture has gone since: the screen loads, the preview keeps what it had.
        QFile::remove(background);
        QImage kept(5, 5, QImage::Format_RGB32);
        const z5::ScreenCommandResult reloaded = other.commands.loadScreen(path, kept);
        QVERIFY(reloaded.done());
        QCOMPARE(kept.size(), QSize(5, 5));
        QCOMPARE(reloaded.problem,
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
        const z5::ScreenCommandResult r = d.commands.loadScreen(file.fileName(), picture);
        QCOMPARE(r.outcome, Outcome::Failed);
        QVERIFY(r.problem.startsWith(QStringLiteral("Строка ")));
        QVERIFY(d.model == before);
    }

    // The window shows each problem once, as an error without a caption, and
    // goes on only where the command did its work.
    void theWindowShowsEachProblemAsAnError() {
        QTemporaryDir dir;
        QFile broken(dir.filePath("short.scd"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("\r\n 1 \r\n");
        broken.close();
        z5::ScreenModel withBackground;
        withBackground.setBackgroundPath(dir.filePath("gone.bmp"));
        const QString missingBackground = dir.filePath("gone-background.scd");
        QVERIFY(z5::ScreenFile::save(missingBackground, withBackground));

        struct Row {
            const char *name;
            QString save, open;
            QString startsWith;
            bool loaded;
            bool namedOnCommandLine = false;
        };
        const Row rows[] = {
            {"save into a missing folder", QStringLiteral("/nonexistent-dir/screen.scd"), QString(),
             z5::ScreenFile::saveFailedMessage(), false},
            {"broken screen file", QString(), broken.fileName(), QStringLiteral("Строка "), false},
            {"background gone", QString(), missingBackground, z5::PictureLoader::wrongTypeMessage(), true},
            {"broken file named on the command line", QString(), broken.fileName(), QStringLiteral("Строка "), false,
             true},
            {"file named on the command line", QString(), missingBackground, z5::PictureLoader::wrongTypeMessage(),
             true, true},
        };
        for (const Row &row : rows) {
            UiFixture f;
            z5::MainWindow &w = *f.window;
            if (!row.save.isEmpty()) {
                f.prompts.saveNames << row.save;
                w.saveScreenAction()->trigger();
            } else if (row.namedOnCommandLine) {
                w.openScreenFile(row.open);
            } else {
                f.prompts.openNames << row.open;
                w.loadScreenAction()->trigger();
            }
            QVERIFY2(f.prompts.messages.size() == 1, row.name);
            QVERIFY2(f.prompts.messages[0].text.startsWith(row.startsWith), row.name);
            QVERIFY2(f.prompts.messages[0].caption.isEmpty(), row.name);
            QVERIFY2(f.prompts.messages[0].kind == z5::Prompts::Kind::Error, row.name);
            if (row.open.isEmpty()) continue;
            QCOMPARE(f.session.screen.backgroundPath() == withBackground.backgroundPath(), row.loaded);
        }
    }
};

static z5::uitest::Registrar<ScreenDesignerCommandsTest> registrar;

#include "ScreenDesignerCommandsTest.moc"
