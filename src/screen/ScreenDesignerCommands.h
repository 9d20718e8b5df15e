#pragma once
#include "screen/ScreenEditor.h"
#include <QImage>
#include <QSize>
#include <QString>

namespace z5 {

class ScreenBuilder;
class ScreenModel;

// How one of the designer's commands ended. The window asks and tells; the
// commands only say what happened.
struct ScreenCommandResult {
    enum class Outcome {
        Done,            // the command did its work
        Cancelled,       // no file was named: nothing changed
        UnsavedChanges,  // nothing done: the unsaved changes must first be let go
        Failed,          // nothing changed; `problem` says why
    };
    Outcome outcome = Outcome::Done;
    // What went wrong, for an error message: the reason a command failed, or a
    // background that could not be loaded for a screen that did load.
    QString problem;
    // A background kept although larger than the display (null when it fits).
    QSize oversizedPicture;

    bool done() const { return outcome == Outcome::Done; }
};

// The designer's commands of the main window that work on the screen model
// alone: screen files ("&Создать SCADA", "&Загрузить SCADA", "&Сохранить SCADA"),
// the background picture ("&Фон") and new elements ("&Параметр", "&Сигнализация").
// Every change goes through the editor, so that it can be undone and marks the
// screen modified. The window asks for the file names and shows the results.
class ScreenDesignerCommands {
public:
    // Whether a command that replaces the screen may drop unsaved changes.
    enum class Unsaved { Keep, Discard };

    ScreenDesignerCommands(ScreenModel &model, ScreenBuilder &builder);

    // `mnu_NEW`. UnsavedChanges when there are some and `unsaved` is Keep.
    ScreenCommandResult newScreen(Unsaved unsaved = Unsaved::Keep);
    // `mnuSave`: recomputes the element words (nothing is sent) and writes the
    // file named by `path`; an empty path is a cancelled dialog.
    ScreenCommandResult saveScreen(const QString &path);
    // `mnuLoad`: reads the file named by `path`; when done, `picture` is the
    // background the file names (null when it names none). A background that
    // cannot be loaded leaves `picture` as it was and is told in `problem`.
    ScreenCommandResult loadScreen(const QString &path, QImage &picture, Unsaved unsaved = Unsaved::Keep);
    // `mnu_FON`: loads the picture named by `path` into `picture`, recording its
    // path. Cancelled or unreadable: the picture and its path stay as they were.
    // A picture larger than the display is kept and named in `oversizedPicture`.
    ScreenCommandResult chooseBackground(const QString &path, QImage &picture);
    // `mnuParametr` and `mnuSignal`: the first free slot, now used and shown at the
    // preview's corner; -1 when all 16 are taken.
    int addParameter();
    int addAlarm();

    // The folder the next screen or picture dialog opens in.
    const QString &initialDir() const { return dir_; }

    // Asked before a new screen, a loaded one or the end of the run replaces
    // unsaved changes.
    bool hasUnsavedChanges() const { return editor_.isModified(); }

    ScreenEditor &editor() { return editor_; }

private:
    bool loadBackground(QImage &picture, QString &problem);
    void rememberDir(const QString &path);

    ScreenModel &model_;
    ScreenBuilder &builder_;
    ScreenEditor editor_;
    QString dir_;
};

} // namespace z5
