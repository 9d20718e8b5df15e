#include "screen/ControllerView.h"
#include "screen/ElementBounds.h"
#include "screen/ScreenEditor.h"
#include "screen/ScreenElementWords.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenModel.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

struct Editing {
    ScreenModel model;
    ScreenEditor editor{model};

    // A parameter of the given kind placed through its dialog at pixel (x, y).
    int parameterOfKind(int kind, const QString &x = "1", const QString &y = "1") {
        const int k = editor.addParameter();
        ParameterForm form = editor.parameterForm(k);
        form.kind = kind;
        form.x = x;
        form.y = y;
        EXPECT_EQ(editor.applyParameter(k, form), FormFault::None);
        return k;
    }
    // Drags by whole pixels, grabbing the element at its top left corner.
    void dragBy(ScreenElement e, int dxPixels, int dyPixels) {
        ASSERT_TRUE(editor.beginDrag(e, 0, 0));
        editor.dragTo(30 * dxPixels, 30 * dyPixels);
        editor.endDrag();
    }
};

} // namespace

// Each control stops at its own right bound; the number box by its digit count,
// and never past 9839 (beyond it the controller is sent 500).
TEST(ScreenEditorDrag, EachControlStopsAtItsRightBound) {
    struct Row { int kind; int digits; int bound; };
    for (const Row row : {Row{3, 6, 8835}, Row{0, 6, 9200}, Row{0, 2, 9839}, Row{1, 6, 9880}, Row{2, 6, 9880}}) {
        SCOPED_TRACE(row.kind * 10 + row.digits);
        Editing e;
        e.model.setDigits(row.digits);
        const int k = e.parameterOfKind(row.kind);
        const ScreenElement element = ScreenElement::parameter(k);
        // Just short of the bound, off the 30-twip grid, so that one step lands on it.
        e.editor.placeAt(element, {row.bound - 30, 570});
        e.dragBy(element, 1, 0);
        EXPECT_EQ(e.editor.position(element).left, row.bound);
        e.dragBy(element, 1, 0);
        EXPECT_EQ(e.editor.position(element).left, row.bound);
        ScreenElementWords::update(e.model);
        EXPECT_NE(e.model.coord(2 * k), ScreenGeometry::kOffScreen);
    }
}

TEST(ScreenEditorDrag, SnapsToWholePixelsAndMovesEachCoordinateWithinItsBounds) {
    Editing e;
    const int k = e.editor.addAlarm();
    const ScreenElement marker = ScreenElement::alarm(k);
    ASSERT_TRUE(e.editor.beginDrag(marker, 44, 20));  // grabbed at (30, 0)
    e.editor.dragTo(44 + 95, 20 + 61);               // snapped to (120, 60): 3 and 2 pixels on
    EXPECT_EQ(e.editor.position(marker), (ScreenEditor::Position{510, 330}));
    // Up past the top edge in one move: the left follows, the top stops at the edge.
    e.editor.dragTo(30 + 60, -600);
    EXPECT_EQ(e.editor.position(marker), (ScreenEditor::Position{570, 270}));
    // Far past the right edge in one move: at the last pixel the dialog offers too.
    e.editor.dragTo(30 + 30 * 400, 0);
    EXPECT_EQ(e.editor.position(marker).left, 9870);
    EXPECT_EQ(ElementBounds::dialogX(9870), ElementBounds::dialogXRange(ControlKind::AlarmMarker, 6).max);
    e.editor.endDrag();
    EXPECT_EQ(e.editor.undoStack().count(), 2);  // the new alarm and one drag
}

TEST(ScreenEditorDrag, DragAndNudgeAreUndoneAndRedoneAsOneStepEach) {
    Editing e;
    const int k = e.editor.addParameter();
    const ScreenElement box = ScreenElement::parameter(k);
    ASSERT_TRUE(e.editor.beginDrag(box, 0, 0));
    for (int step = 1; step <= 5; ++step) e.editor.dragTo(30, 30);
    e.editor.endDrag();
    const ScreenEditor::Position dropped{420 + 150, 270 + 150};
    EXPECT_EQ(e.editor.position(box), dropped);
    EXPECT_TRUE(e.editor.nudge(box, 1, 0));
    EXPECT_FALSE(e.editor.nudge(ScreenElement::parameter(k + 1), 1, 0));  // not shown

    e.editor.undoStack().undo();
    EXPECT_EQ(e.editor.position(box), dropped);
    e.editor.undoStack().undo();
    EXPECT_EQ(e.editor.position(box), (ScreenEditor::Position{420, 270}));
    e.editor.undoStack().redo();
    EXPECT_EQ(e.editor.position(box), dropped);

    // At the preview's corner the arrow keys cannot push it out.
    Editing corner;
    const ScreenElement fresh = ScreenElement::alarm(corner.editor.addAlarm());
    EXPECT_FALSE(corner.editor.nudge(fresh, -1, -1));
    EXPECT_EQ(corner.editor.undoStack().count(), 1);
}

TEST(ScreenEditorDialogs, MarkerAtTheCornerShowsOneOneAndOkPutsItBack) {
    Editing e;
    const int k = e.editor.addAlarm();
    const AlarmForm form = e.editor.alarmForm(k);
    EXPECT_EQ(form.x, "1");
    EXPECT_EQ(form.y, "1");
    const ScreenModel before = e.model;
    EXPECT_EQ(e.editor.applyAlarm(k, form), FormFault::None);
    EXPECT_EQ(e.model, before);
    EXPECT_EQ(e.editor.undoStack().count(), 1);  // an unchanged "Ok" is no step
}

// Coordinates are kept where the element stays visible and within its drag bounds.
TEST(ScreenEditorDialogs, CoordinatesBeyondTheScreenAreKeptOnIt) {
    struct Row { int kind; int digits; int xMax; int yMax; };
    for (const Row row : {Row{0, 6, 293, 235}, Row{0, 2, 314, 235}, Row{1, 6, 316, 210}, Row{2, 6, 316, 182},
                          Row{3, 6, 281, 198}}) {
        SCOPED_TRACE(row.kind * 10 + row.digits);
        Editing e;
        e.model.setDigits(row.digits);
        const int k = e.parameterOfKind(row.kind, "630", "475");
        const ParameterForm shown = e.editor.parameterForm(k);
        EXPECT_EQ(shown.x.toInt(), row.xMax);
        EXPECT_EQ(shown.y.toInt(), row.yMax);
        ScreenElementWords::update(e.model);
        EXPECT_LT(e.model.coord(2 * k), 320);
        EXPECT_LT(e.model.coord(2 * k + 1) & 0xFF, 240);
    }
    Editing e;
    const int k = e.editor.addAlarm();
    AlarmForm form = e.editor.alarmForm(k);
    form.x = "615";
    form.y = "-3";
    EXPECT_EQ(e.editor.applyAlarm(k, form), FormFault::None);
    EXPECT_EQ(e.editor.position(ScreenElement::alarm(k)), (ScreenEditor::Position{30 * 316 + 390, 270}));
    EXPECT_EQ(ElementBounds::corrected("700", ElementBounds::dialogXRange(ControlKind::AlarmMarker, 6)), "316");
    EXPECT_EQ(ElementBounds::corrected("0", ElementBounds::dialogYRange(ControlKind::AlarmMarker)), "1");
    EXPECT_EQ(ElementBounds::corrected("1a", ElementBounds::dialogYRange(ControlKind::AlarmMarker)), "1a");
}

TEST(ScreenEditorDialogs, OkIsRefusedForANonNumberOrAnOverlongText) {
    struct Row { QString x, y, text; FormFault fault; };
    for (const Row &row : {Row{"1a", "5", "", FormFault::BadX}, Row{"", "5", "", FormFault::BadX},
                           Row{"5", "пять", "", FormFault::BadY}, Row{"5", "5", "12345678901", FormFault::BadText},
                           Row{"5", "5", "два\nряда", FormFault::BadText}}) {
        SCOPED_TRACE(row.x.toStdString() + "/" + row.y.toStdString() + "/" + row.text.toStdString());
        Editing e;
        const int k = e.editor.addAlarm();
        AlarmForm form = e.editor.alarmForm(k);
        form.x = row.x;
        form.y = row.y;
        form.text = row.text;
        form.textColour = 3;
        const ScreenModel before = e.model;
        EXPECT_EQ(e.editor.applyAlarm(k, form), row.fault);
        EXPECT_EQ(e.model, before);
        EXPECT_EQ(e.editor.undoStack().count(), 1);
    }
    Editing e;
    const int k = e.editor.addAlarm();
    AlarmForm form = e.editor.alarmForm(k);
    form.text = QStringLiteral("Нет пламен");  // ten characters fit
    EXPECT_EQ(e.editor.applyAlarm(k, form), FormFault::None);
    EXPECT_EQ(e.model.alarmText(k), form.text);
    // No dialog for a free slot or one outside the table.
    EXPECT_EQ(e.editor.applyAlarm(k + 1, form), FormFault::NoSlot);
    EXPECT_EQ(e.editor.applyParameter(16, e.editor.parameterForm(0)), FormFault::NoSlot);
    EXPECT_EQ(e.editor.applyParameter(0, e.editor.parameterForm(0)), FormFault::NoSlot);
}

// A freed slot, or one a screen file left with flags, is taken clean.
TEST(ScreenEditorSlots, AReusedSlotStartsClean) {
    Editing e;
    const int p = e.parameterOfKind(ScadaParameter::Gauge);
    ParameterForm coloured = e.editor.parameterForm(p);
    coloured.textColour = 5;
    coloured.backColour = 6;
    e.editor.applyParameter(p, coloured);
    ASSERT_TRUE(e.editor.deleteParameter(p));
    ScadaAlarm &stale = *e.model.alarm(0);
    stale.isText = stale.alarm = true;
    stale.backColor = 4;

    EXPECT_EQ(e.editor.addParameter(), p);
    EXPECT_EQ(e.model.parameter(p)->kind(), ScadaParameter::Number);
    EXPECT_EQ(e.model.parameterColor(p + 16), 0);
    EXPECT_FALSE(e.model.parameter(p)->gaugePicture.visible);
    EXPECT_EQ(e.editor.addAlarm(), 0);
    EXPECT_FALSE(stale.isText || stale.alarm);
    ScreenElementWords::update(e.model);
    EXPECT_EQ(e.model.coord(1), 0);   // pixel (0, 0), no attributes
    EXPECT_EQ(e.model.coord(33), 0);
}

TEST(ScreenEditorSlots, DeleteIsUndoneAndRedoneAndSendsTheSlotOffTheScreen) {
    Editing e;
    const int k = e.editor.addAlarm();
    AlarmForm form = e.editor.alarmForm(k);
    form.x = "40";
    form.y = "30";
    form.isText = form.alarm = true;
    form.text = QStringLiteral("Авария");
    form.textColour = 7;
    form.backColour = 1;
    ASSERT_EQ(e.editor.applyAlarm(k, form), FormFault::None);
    const ScreenModel placed = e.model;

    ASSERT_TRUE(e.editor.deleteAlarm(k));
    ScreenElementWords::update(e.model);
    EXPECT_EQ(e.model.coord(32), 500);
    EXPECT_EQ(e.model.coord(33), 500);
    EXPECT_FALSE(e.editor.isShown(ScreenElement::alarm(k)));

    e.editor.undoStack().undo();
    EXPECT_EQ(e.model.alarm(k)->textBox, placed.alarm(k)->textBox);
    ScreenElementWords::update(e.model);
    EXPECT_EQ(e.model.coord(32), 39);
    EXPECT_EQ(e.model.coord(33), 29 + 7 * 256 + 1 * 2048 + 16384 + 32768);
    e.editor.undoStack().redo();
    EXPECT_FALSE(e.model.alarm(k)->used);
}

TEST(ScreenEditorHistory, ModifiedUntilSavedAndBackgroundAndDigitsUndo) {
    Editing e;
    int modifiedSignals = 0;
    QObject::connect(&e.editor, &ScreenEditor::modifiedChanged, [&](bool) { ++modifiedSignals; });
    EXPECT_FALSE(e.editor.isModified());
    e.editor.stepDigits();
    EXPECT_EQ(e.model.digits(), 2);
    EXPECT_TRUE(e.editor.isModified());
    e.editor.markSaved();
    EXPECT_FALSE(e.editor.isModified());

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    e.editor.setBackground("/tmp/red.png", picture);
    EXPECT_EQ(e.model.backgroundPath(), "/tmp/red.png");
    e.editor.undoStack().undo();
    EXPECT_TRUE(e.model.backgroundPath().isEmpty());
    EXPECT_TRUE(e.editor.background().isNull());
    EXPECT_FALSE(e.editor.isModified());
    e.editor.undoStack().undo();
    EXPECT_EQ(e.model.digits(), 6);
    EXPECT_TRUE(e.editor.isModified());
    EXPECT_EQ(modifiedSignals, 5);
    e.editor.resetHistory();
    EXPECT_FALSE(e.editor.isModified());
    EXPECT_EQ(e.editor.undoStack().count(), 0);
}

TEST(ControllerView, ReducesAtTheThreshold) {
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(120, 121, 200));
    picture.setPixel(1, 0, qRgb(255, 40, 121));
    const QImage shown = ControllerView::reduce(picture, 120);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 255, 255));
    EXPECT_EQ(shown.pixel(1, 0), qRgb(255, 0, 255));
}
