#include "screen/ElementChangeCommand.h"

namespace z5 {

ElementChangeCommand::ElementChangeCommand(ScreenEditor &editor, int slot, const ScreenEditor::SlotState &before,
                                           const ScreenEditor::SlotState &after, const QString &text)
    : QUndoCommand(text), editor_(editor), slot_(slot), before_(before), after_(after) {}

void ElementChangeCommand::undo() { editor_.restoreSlot(slot_, before_); }

// The first redo, when pushed, finds the slot already so.
void ElementChangeCommand::redo() { editor_.restoreSlot(slot_, after_); }

} // namespace z5
