#include "ui/ScreenDesignerCommands.h"
#include "model/Prompts.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenModel.h"
#include <QDir>
#include <QFileInfo>

namespace z5 {

ScreenDesignerCommands::ScreenDesignerCommands(ScreenModel &model, ScreenBuilder &builder, Prompts &prompts)
    : model_(model), builder_(builder), prompts_(prompts) {}

QString ScreenDesignerCommands::fileFilter() { return QStringLiteral("scada file (*.scd)"); }

QString ScreenDesignerCommands::pictureFilter() {
    return QStringLiteral("Рисунки (*.bmp *.png *.jpg *.jpeg *.gif);;Все файлы (*)");
}

void ScreenDesignerCommands::rememberDir(const QString &path) {
    dir_ = path.isEmpty() ? QDir::currentPath() : QFileInfo(path).absolutePath();
}

void ScreenDesignerCommands::mnu_NEW() { model_.createNew(); }

bool ScreenDesignerCommands::mnuSave() {
    // Only the element words are recomputed; the build sends nothing itself, so
    // the download chain's own no-send switch is left alone (a write that is
    // under way while the file dialog is open must not lose its tables).
    builder_.build(model_, QImage(), true);
    const QString path = prompts_.saveFileName(QStringLiteral("Сохранить SCADA"), fileFilter(), dir_);
    if (path.isEmpty()) return false;
    rememberDir(path);
    QString why;
    if (!ScreenFile::save(path, model_, &why)) {
        // The reason (a text with a line break, a full disk) goes on a line of its own.
        prompts_.message(why.isEmpty() ? ScreenFile::saveFailedMessage()
                                       : ScreenFile::saveFailedMessage() + QLatin1Char('\n') + why);
        return false;
    }
    return true;
}

bool ScreenDesignerCommands::mnuLoad(QImage &picture) {
    const QString path = prompts_.openFileName(QStringLiteral("Загрузить SCADA"), fileFilter(), dir_);
    if (path.isEmpty()) return false;
    rememberDir(path);
    const ScreenFileError error = ScreenFile::load(path, model_);
    if (error.isError()) {
        prompts_.message(error.message);
        return false;
    }
    loadBackground(picture);
    return true;
}

bool ScreenDesignerCommands::loadBackground(QImage &picture) {
    if (model_.fonFile().isEmpty()) {
        picture = QImage();
        return true;
    }
    const PictureLoader::Result loaded = PictureLoader::load(model_.fonFile());
    if (!loaded.ok()) {
        prompts_.message(loaded.text());
        return false;
    }
    picture = loaded.image;
    return true;
}

bool ScreenDesignerCommands::mnu_FON(QImage &picture) {
    const QString path = prompts_.openFileName(QStringLiteral("Фон"), pictureFilter(), dir_);
    rememberDir(QString());
    if (path.isEmpty()) return false;
    const PictureLoader::Result loaded = PictureLoader::load(path);
    if (!loaded.ok()) {
        prompts_.message(loaded.text());
        return false;
    }
    picture = loaded.image;
    model_.setFonFile(path);
    return true;
}

int ScreenDesignerCommands::mnuParametr() {
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        ScadaParametr *p = model_.parametr(k);
        if (!p || p->used) continue;
        p->used = true;
        p->Text1 = {ScreenGeometry::kOriginLeft, ScreenGeometry::kOriginTop, true};
        return k;
    }
    return -1;
}

int ScreenDesignerCommands::mnuSignal() {
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        ScadaSignal *s = model_.signal(k);
        if (!s || s->used) continue;
        s->used = true;
        s->Picture2 = {ScreenGeometry::kOriginLeft, ScreenGeometry::kOriginTop, true};
        return k;
    }
    return -1;
}

} // namespace z5
