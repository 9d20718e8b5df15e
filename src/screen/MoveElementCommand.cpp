#include "screen/MoveElementCommand.h"

namespace z5 {

MoveElementCommand::MoveElementCommand(ScreenEditor &editor, ScreenElement element, ScreenEditor::Position from,
                                       ScreenEditor::Position to, const QString &text)
    : QUndoCommand(text), editor_(editor), element_(element), from_(from), to_(to) {}

void MoveElementCommand::undo() { editor_.placeAt(element_, from_); }

void MoveElementCommand::redo() { editor_.placeAt(element_, to_); }

} // namespace z5
