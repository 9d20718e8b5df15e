#pragma once
#include <QUndoCommand>

namespace z5 {

class ScreenEditor;

// A click on the digit sample label: the number of digits of every number box.
class DigitsCommand : public QUndoCommand {
public:
    DigitsCommand(ScreenEditor &editor, int from, int to);
    void undo() override;
    void redo() override;

private:
    ScreenEditor &editor_;
    int from_;
    int to_;
};

} // namespace z5
