#include "screen/DigitsCommand.h"
#include "screen/ScreenEditor.h"

namespace z5 {

DigitsCommand::DigitsCommand(ScreenEditor &editor, int from, int to)
    : QUndoCommand(QStringLiteral("Разрядность чисел")), editor_(editor), from_(from), to_(to) {}

void DigitsCommand::undo() { editor_.showDigits(from_); }

void DigitsCommand::redo() { editor_.showDigits(to_); }

} // namespace z5
