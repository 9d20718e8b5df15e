#pragma once
#include "screen/ScreenEditor.h"
#include <QImage>
#include <QString>

namespace z5 {

class Prompts;
class ScreenBuilder;
class ScreenModel;

// The designer's commands of the main window that work on the screen model
// alone: screen files ("&Создать SCADA", "&Загрузить SCADA", "&Сохранить SCADA"),
// the background picture ("&Фон") and new elements ("&Параметр", "&Сигнализация").
// Every change goes through the editor, so that it can be undone and marks the
// screen modified. The window shows the result; nothing here is a widget.
class ScreenDesignerCommands {
public:
    ScreenDesignerCommands(ScreenModel &model, ScreenBuilder &builder, Prompts &prompts);

    static QString fileFilter();     // "scada file (*.scd)"
    static QString pictureFilter();

    // `mnu_NEW`; false when the user kept unsaved changes.
    bool newScreen();
    // `mnuSave`: recomputes the element words (nothing is sent), asks for a name
    // and writes the file. False when cancelled or the file could not be written.
    bool saveScreen();
    // `mnuLoad`: asks for a name and reads the file; on success `picture` is the
    // background the file names (null when it names none). A picture that cannot
    // be loaded is reported and `picture` is left as it was.
    bool loadScreen(QImage &picture);
    // `mnu_FON`: asks for a picture and loads it into `picture`, recording its
    // path. Cancelled or unreadable: the picture and its path stay as they were.
    // A picture larger than the display is kept but the user is warned at once.
    bool chooseBackground(QImage &picture);
    // `mnuParametr` and `mnuSignal`: the first free slot, now used and shown at the
    // preview's corner; -1 when all 16 are taken.
    int addParameter();
    int addAlarm();

    const QString &initialDir() const { return dir_; }

    // Asked before a new screen, a loaded one or the end of the run replaces
    // unsaved changes; true when there are none or the user lets them go.
    bool mayDiscardChanges();
    static QString discardQuestion();
    static QString largePictureWarning(QSize size);

    ScreenEditor &editor() { return editor_; }

private:
    bool loadBackground(QImage &picture);
    void rememberDir(const QString &path);

    ScreenModel &model_;
    ScreenBuilder &builder_;
    Prompts &prompts_;
    ScreenEditor editor_;
    QString dir_;
};

} // namespace z5
