#pragma once
#include "screen/ElementForms.h"
#include "screen/ScreenElement.h"
#include "screen/ScreenSlots.h"
#include <QImage>
#include <QObject>
#include <QUndoStack>

namespace z5 {

class ScreenModel;

// Every edit of the operator screen that the designer offers: new elements,
// dragging and nudging within each control's bounds, the two element dialogs'
// "Ok" and "Удалить", the background picture and the digit count. Each edit is
// one step on the undo stack; the stack's clean state says whether the screen
// was saved since.
class ScreenEditor : public QObject {
    Q_OBJECT
public:
    // All of one slot: what add, dialog "Ok" and delete change, and what undo gives back.
    struct SlotState {
        ScadaParameter parameter;
        ScadaAlarm alarm;
        QString alarmText;
        bool operator==(const SlotState &o) const {
            return parameter == o.parameter && alarm == o.alarm && alarmText == o.alarmText;
        }
    };
    struct Position {
        int left = 0;
        int top = 0;
        bool operator==(const Position &o) const { return left == o.left && top == o.top; }
        bool operator!=(const Position &o) const { return !(*this == o); }
    };

    explicit ScreenEditor(ScreenModel &model, QObject *parent = nullptr);

    ScreenModel &model() { return model_; }
    const ScreenModel &model() const { return model_; }
    QUndoStack &undoStack() { return stack_; }

    // "&Параметр" / "&Сигнализация": the first free slot, clean and shown at the
    // preview's corner; -1 when all 16 are taken.
    int addParameter();
    int addAlarm();

    // The control an element shows by (its kind's, or text box or marker) and its bounds.
    ControlKind controlKind(ScreenElement element) const;
    const ElementControl *control(ScreenElement element) const;
    bool isShown(ScreenElement element) const;

    // Dragging: `grab` is where the button went down inside the element, in twips
    // from its top left; `pointer` where it is now, likewise. Each coordinate moves
    // only while it stays within the control's bounds. The whole drag is one step.
    bool beginDrag(ScreenElement element, int grabLeft, int grabTop);
    bool dragTo(int pointerLeft, int pointerTop);
    void endDrag();
    bool dragging() const { return drag_.element.slot >= 0; }
    // Arrow keys: one screen pixel (30 twips) per step, within the bounds.
    bool nudge(ScreenElement element, int dx, int dy);

    // The dialogs: what they open with, and their "Ok" and "Удалить".
    AlarmForm alarmForm(int k) const;
    ParameterForm parameterForm(int k) const;
    FormFault applyAlarm(int k, const AlarmForm &form);
    FormFault applyParameter(int k, const ParameterForm &form);
    bool deleteAlarm(int k);
    bool deleteParameter(int k);

    // "&Фон": the picture in the preview and its path, as one step.
    void setBackground(const QString &path, const QImage &picture);
    // A picture loaded with a screen file: not an edit, no step.
    void replaceBackground(const QImage &picture);
    const QImage &background() const { return background_; }

    // A click on the digit sample label.
    void stepDigits();

    // A new or loaded screen starts a fresh history; a saved one is clean.
    void resetHistory();
    void markSaved();
    bool isModified() const { return !stack_.isClean(); }

    // Used by the undo commands.
    SlotState slotState(int k) const;
    void restoreSlot(int k, const SlotState &state);
    Position position(ScreenElement element) const;
    void placeAt(ScreenElement element, Position position);
    void showBackground(const QString &path, const QImage &picture);
    void showDigits(int digits);

signals:
    void backgroundChanged();
    void modifiedChanged(bool modified);

private:
    ElementControl *mutableControl(ScreenElement element);
    // Moves within the bounds, coordinate by coordinate; true when it moved.
    bool moveWithin(ScreenElement element, int left, int top);
    void pushMove(ScreenElement element, Position from, Position to, const QString &text);
    void pushSlotChange(int k, const SlotState &before, const QString &text);

    struct Drag {
        ScreenElement element;
        int grabLeft = 0;
        int grabTop = 0;
        Position start;
    };

    ScreenModel &model_;
    QUndoStack stack_;
    QImage background_;
    Drag drag_;
};

} // namespace z5
