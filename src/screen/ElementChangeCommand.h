#pragma once
#include "screen/ScreenEditor.h"
#include <QUndoCommand>

namespace z5 {

// One change of a whole slot (a new element, a dialog's "Ok", "Удалить"): undo
// gives the slot back as it was before, redo as it was after.
class ElementChangeCommand : public QUndoCommand {
public:
    ElementChangeCommand(ScreenEditor &editor, int slot, const ScreenEditor::SlotState &before,
                         const ScreenEditor::SlotState &after, const QString &text);
    void undo() override;
    void redo() override;

private:
    ScreenEditor &editor_;
    int slot_;
    ScreenEditor::SlotState before_;
    ScreenEditor::SlotState after_;
};

} // namespace z5
