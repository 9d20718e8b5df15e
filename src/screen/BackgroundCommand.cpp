#include "screen/BackgroundCommand.h"
#include "screen/ScreenEditor.h"

namespace z5 {

BackgroundCommand::BackgroundCommand(ScreenEditor &editor, const Background &before, const Background &after)
    : QUndoCommand(QStringLiteral("Фон")), editor_(editor), before_(before), after_(after) {}

void BackgroundCommand::undo() { editor_.showBackground(before_.path, before_.picture); }

void BackgroundCommand::redo() { editor_.showBackground(after_.path, after_.picture); }

} // namespace z5
