#pragma once
#include "screen/ScreenEditor.h"
#include <QUndoCommand>

namespace z5 {

// One drag or one arrow-key step of an element's control.
class MoveElementCommand : public QUndoCommand {
public:
    MoveElementCommand(ScreenEditor &editor, ScreenElement element, ScreenEditor::Position from,
                       ScreenEditor::Position to, const QString &text);
    void undo() override;
    void redo() override;

private:
    ScreenEditor &editor_;
    ScreenElement element_;
    ScreenEditor::Position from_;
    ScreenEditor::Position to_;
};

} // namespace z5
