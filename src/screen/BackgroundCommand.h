#pragma once
#include <QImage>
#include <QString>
#include <QUndoCommand>

namespace z5 {

class ScreenEditor;

// "&Фон": the background picture and its path together.
class BackgroundCommand : public QUndoCommand {
public:
    struct Background {
        QString path;
        QImage picture;
    };
    BackgroundCommand(ScreenEditor &editor, const Background &before, const Background &after);
    void undo() override;
    void redo() override;

private:
    ScreenEditor &editor_;
    Background before_;
    Background after_;
};

} // namespace z5
