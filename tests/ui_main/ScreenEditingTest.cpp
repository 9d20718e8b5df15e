// Editing the operator screen with the mouse and the element dialogs: dragging,
// undo, the dialogs' "Ok" and "Отмена", and asking before unsaved changes go.
#include "UiTestRegistry.h"
#include "UiFixture.h"
#include "screen/ScreenEditor.h"
#include "screen/ScreenModel.h"
#include "ui/ColourSwatchRow.h"
#include "ui/MainWindow.h"
#include "ui/ParameterDialog.h"
#include "ui/ScreenPreview.h"
#include "ui/AlarmDialog.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

void mouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A left-button drag on the preview from one window point to another.
void drag(z5::ScreenPreview *preview, QPoint from, QPoint to) {
    mouse(preview, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(preview, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    mouse(preview, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(preview, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void doubleClick(z5::ScreenPreview *preview, QPoint at) {
    mouse(preview, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
}

QPoint centreOf(z5::ScreenPreview *preview, z5::ScreenElement e) { return preview->elementRect(e).center(); }

} // namespace

class ScreenEditingTest : public QObject {
    Q_OBJECT
private slots:
    void dragMarksTheTitleAndCtrlZUndoesIt() {
        UiFixture f;
        z5::MainWindow &w = *f.window;
        w.addParameterAction()->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("Конфигуратор  Z5*"));
        const z5::ScreenElement box = z5::ScreenElement::parameter(0);
        const QPoint start = centreOf(w.preview(), box);
        // 20 window pixels are 300 twips: ten screen pixels.
        drag(w.preview(), start, start + QPoint(20, 40));
        const z5::ScadaParameter &p = *f.session.screen.parameter(0);
        QCOMPARE(p.numberBox.left, 420 + 300);
        QCOMPARE(p.numberBox.top, 270 + 600);

        // An arrow key moves the element under the mouse by one screen pixel.
        QTest::keyClick(w.preview(), Qt::Key_Left);
        QCOMPARE(p.numberBox.left, 420 + 270);
        w.undoAction()->trigger();
        w.undoAction()->trigger();
        QCOMPARE(p.numberBox.left, 420);
        QCOMPARE(p.numberBox.top, 270);
        w.redoAction()->trigger();
        QCOMPARE(p.numberBox.left, 420 + 300);
        QCOMPARE(w.undoAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(w.redoAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    }

    void aLongAlarmTextStopsAtTheScreensRightEdge_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("ten characters") << QStringLiteral("ABCDEFGHIJ");
        QTest::newRow("ten Cyrillic") << QStringLiteral("ЖЖЖЖЖЖЖЖЖЖ");
        QTest::newRow("one") << QStringLiteral("Ж");
    }
    void aLongAlarmTextStopsAtTheScreensRightEdge() {
        QFETCH(QString, text);
        UiFixture f;
        z5::MainWindow &w = *f.window;
        z5::ScreenEditor &editor = w.designer().editor();
        const int k = editor.addAlarm();
        z5::AlarmForm form = editor.alarmForm(k);
        form.isText = true;
        form.text = text;
        form.x = QStringLiteral("320");
        QCOMPARE(int(editor.applyAlarm(k, form)), int(z5::FormFault::None));
        const QRect element = w.preview()->elementRect(z5::ScreenElement::alarm(k));
        // As far right as a number box may go at its right limit, and no further.
        const int screenRight = (z5::ScreenPreview::kPreviewLeft + z5::ScreenPreview::kPreviewWidth) / 15 + 6;
        QVERIFY2(element.right() <= screenRight + 18, qPrintable(QStringLiteral("ends at %1").arg(element.right())));
        // Dragged right as far as it goes: it stays there too.
        editor.beginDrag(z5::ScreenElement::alarm(k), 0, 0);
        for (int i = 0; i < 40; ++i) editor.dragTo(30 * i, 0);
        editor.endDrag();
        QVERIFY(w.preview()->elementRect(z5::ScreenElement::alarm(k)).right() <= screenRight + 18);
    }

    void alarmDialogOkAndBadCoordinate() {
        UiFixture f;
        z5::MainWindow &w = *f.window;
        w.addAlarmAction()->trigger();
        doubleClick(w.preview(), centreOf(w.preview(), z5::ScreenElement::alarm(0)));
        auto *dialog = qobject_cast<z5::AlarmDialog *>(w.elementDialog());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("signal"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Сигнализация № 1"));
        QVERIFY(!w.isEnabled());
        QCOMPARE(dialog->xField()->text(), QStringLiteral("1"));
        QCOMPARE(dialog->alarmText()->maxLength(), 10);

        // Typed beyond the screen: pulled back as the user types.
        QTest::keyClicks(dialog->xField(), QStringLiteral("9"));
        QCOMPARE(dialog->xField()->text(), QStringLiteral("19"));
        dialog->xField()->clear();
        QTest::keyClicks(dialog->xField(), QStringLiteral("630"));
        QCOMPARE(dialog->xField()->text(), QStringLiteral("316"));

        // Not a number: "Ok" is refused, the field marked, nothing changed.
        const z5::ScreenModel before = f.session.screen;
        dialog->yField()->setText(QStringLiteral("абв"));
        dialog->okButton()->click();
        QVERIFY(w.elementDialog());
        QVERIFY(dialog->yField()->styleSheet().contains(QStringLiteral("red")));
        QCOMPARE(f.session.screen, before);

        dialog->yField()->setText(QStringLiteral("20"));
        dialog->showAsText()->setChecked(true);
        dialog->alarmText()->setText(QStringLiteral("Авария"));
        QTest::mouseClick(dialog->swatches(), Qt::LeftButton, {}, dialog->swatches()->swatchRect(3).center());
        QTest::mouseClick(dialog->swatches(), Qt::LeftButton, {}, dialog->swatches()->swatchRect(9).center());
        dialog->okButton()->click();
        UiFixture::settle();
        QVERIFY(!w.elementDialog());
        QVERIFY(w.isEnabled());
        const z5::ScadaAlarm &s = *f.session.screen.alarm(0);
        QVERIFY(s.isText && s.textBox.visible && !s.marker.visible);
        // With six digits the text box may go to X 293 at most.
        QCOMPARE(s.textBox.left, 30 * 293 + 390);
        QCOMPARE(s.textBox.top, 30 * 20 + 240);
        QCOMPARE(s.textColor, 3);
        QCOMPARE(s.backColor, 1);
        QCOMPARE(f.session.screen.alarmText(0), QStringLiteral("Авария"));
    }

    // The kind chosen in the dialog is dropped with "Отмена" and kept with "Ok".
    void parameterDialogCancelDropsTheKind() {
        UiFixture f;
        z5::MainWindow &w = *f.window;
        w.addParameterAction()->trigger();
        for (const bool confirm : {false, true}) {
            doubleClick(w.preview(), centreOf(w.preview(), z5::ScreenElement::parameter(0)));
            auto *dialog = qobject_cast<z5::ParameterDialog *>(w.elementDialog());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Параметр № 1"));
            QVERIFY(!dialog->kindChoice()->isVisibleTo(dialog));
            dialog->graphic()->setChecked(true);
            QVERIFY(dialog->kindChoice()->isVisibleTo(dialog));
            QCOMPARE(dialog->kind(), 1);
            dialog->kindChoice()->setCurrentIndex(2);
            emit dialog->kindChoice()->activated(2);
            QCOMPARE(dialog->kind(), 3);
            (confirm ? dialog->okButton() : dialog->cancelButton())->click();
            UiFixture::settle();
            QVERIFY(w.isEnabled());
            const z5::ScadaParameter &p = *f.session.screen.parameter(0);
            QCOMPARE(p.kind(), confirm ? 3 : 0);
            QCOMPARE(p.numberBox.visible, !confirm);
            QCOMPARE(p.gaugePicture.visible, confirm);
        }
        // "Удалить" frees the slot, and undo brings the gauge back.
        doubleClick(w.preview(), centreOf(w.preview(), z5::ScreenElement::parameter(0)));
        QVERIFY(w.elementDialog());
        w.elementDialog()->findChild<QPushButton *>(QStringLiteral("delete_parametr"))->click();
        UiFixture::settle();
        QVERIFY(!f.session.screen.parameter(0)->used);
        w.undoAction()->trigger();
        QVERIFY(f.session.screen.parameter(0)->used && f.session.screen.parameter(0)->gaugePicture.visible);
    }

    void unsavedChangesAreAskedAbout() {
        UiFixture f;
        z5::MainWindow &w = *f.window;
        w.addAlarmAction()->trigger();
        f.prompts.confirmAnswer = false;
        w.newScreenAction()->trigger();
        QVERIFY(f.session.screen.alarm(0)->used);
        QVERIFY(w.close() == false);
        QVERIFY(w.isVisible());
        w.loadScreenAction()->trigger();
        QCOMPARE(f.prompts.messages.size(), std::size_t(3));
        QCOMPARE(f.prompts.messages.back().text, z5::MainWindow::discardQuestion());

        QTemporaryDir dir;
        f.prompts.saveNames << dir.filePath(QStringLiteral("s.scd"));
        w.saveScreenAction()->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("Конфигуратор  Z5"));
        w.newScreenAction()->trigger();  // nothing unsaved: no question
        QCOMPARE(f.prompts.messages.size(), std::size_t(3));
        QVERIFY(!f.session.screen.alarm(0)->used);
    }

    void largeBackgroundWarnsAtOnceAndLikeZ5Reduces() {
        UiFixture f;
        z5::MainWindow &w = *f.window;
        QTemporaryDir dir;
        QImage big(330, 240, QImage::Format_RGB32);
        big.fill(QColor(200, 100, 130));
        const QString path = dir.filePath(QStringLiteral("big.png"));
        QVERIFY(big.save(path));
        f.prompts.openNames << path;
        w.backgroundAction()->trigger();
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QCOMPARE(f.prompts.messages.front().text, z5::MainWindow::largePictureWarning(QSize(330, 240)));
        QCOMPARE(w.preview()->picture().size(), QSize(330, 240));

        w.likeControllerAction()->setChecked(true);
        QVERIFY(w.preview()->likeController());
        const QImage shown = w.preview()->grab().toImage();
        // Red and blue are above the threshold of 120, green is not.
        const QPoint inside(z5::ScreenPreview::px(420) + 100, z5::ScreenPreview::px(270) + 100);
        QCOMPARE(QColor(shown.pixel(inside)).rgb(), qRgb(255, 0, 255));
        w.undoAction()->trigger();
        QVERIFY(w.preview()->picture().isNull());
        QVERIFY(f.session.screen.backgroundPath().isEmpty());
    }
};

static z5::uitest::Registrar<ScreenEditingTest> registrar;

#include "ScreenEditingTest.moc"
