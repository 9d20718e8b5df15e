#include "screen/ScreenDesignerCommands.h"
#include "model/Prompts.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenImageEncoder.h"
#include "screen/ScreenModel.h"
#include <QDir>
#include <QFileInfo>

namespace z5 {

ScreenDesignerCommands::ScreenDesignerCommands(ScreenModel &model, ScreenBuilder &builder, Prompts &prompts)
    : model_(model), builder_(builder), prompts_(prompts), editor_(model) {}

QString ScreenDesignerCommands::fileFilter() { return QStringLiteral("scada file (*.scd)"); }

QString ScreenDesignerCommands::pictureFilter() {
    return QStringLiteral("Рисунки (*.bmp *.png *.jpg *.jpeg *.gif);;Все файлы (*)");
}

void ScreenDesignerCommands::rememberDir(const QString &path) {
    dir_ = path.isEmpty() ? QDir::currentPath() : QFileInfo(path).absolutePath();
}

QString ScreenDesignerCommands::discardQuestion() {
    return QStringLiteral("Экран изменён и не сохранён. Продолжить без сохранения?");
}

QString ScreenDesignerCommands::largePictureWarning(QSize size) {
    return QStringLiteral("Рисунок %1 × %2 больше экрана Z5 (320 × 240): запись в Z5 его не примет.")
        .arg(size.width())
        .arg(size.height());
}

bool ScreenDesignerCommands::mayDiscardChanges() {
    return !editor_.isModified() || prompts_.confirm(discardQuestion());
}

bool ScreenDesignerCommands::newScreen() {
    if (!mayDiscardChanges()) return false;
    model_.createNew();
    editor_.resetHistory();
    return true;
}

bool ScreenDesignerCommands::saveScreen() {
    // Only the element words are recomputed; the build sends nothing itself, so
    // the download chain's own no-send switch is left alone (a write that is
    // under way while the file dialog is open must not lose its tables).
    ScreenBuilder::recomputeElementWords(model_);
    const QString path = prompts_.saveFileName(QStringLiteral("Сохранить SCADA"), fileFilter(), dir_);
    if (path.isEmpty()) return false;
    rememberDir(path);
    QString why;
    if (!ScreenFile::save(path, model_, &why)) {
        // The reason (a text with a line break, a full disk) goes on a line of its own.
        prompts_.message(why.isEmpty() ? ScreenFile::saveFailedMessage()
                                       : ScreenFile::saveFailedMessage() + QLatin1Char('\n') + why,
                         QString(), Prompts::Kind::Error);
        return false;
    }
    editor_.markSaved();
    return true;
}

bool ScreenDesignerCommands::loadScreen(QImage &picture) {
    if (!mayDiscardChanges()) return false;
    const QString path = prompts_.openFileName(QStringLiteral("Загрузить SCADA"), fileFilter(), dir_);
    if (path.isEmpty()) return false;
    rememberDir(path);
    const ScreenFileError error = ScreenFile::load(path, model_);
    if (error.isError()) {
        prompts_.message(error.message, QString(), Prompts::Kind::Error);
        return false;
    }
    editor_.resetHistory();
    if (loadBackground(picture)) editor_.replaceBackground(picture);
    return true;
}

bool ScreenDesignerCommands::loadBackground(QImage &picture) {
    if (model_.backgroundPath().isEmpty()) {
        picture = QImage();
        return true;
    }
    const PictureLoader::Result loaded = PictureLoader::load(model_.backgroundPath());
    if (!loaded.ok()) {
        prompts_.message(loaded.text(), QString(), Prompts::Kind::Error);
        return false;
    }
    picture = loaded.image;
    return true;
}

bool ScreenDesignerCommands::chooseBackground(QImage &picture) {
    const QString path = prompts_.openFileName(QStringLiteral("Фон"), pictureFilter(), dir_);
    rememberDir(QString());
    if (path.isEmpty()) return false;
    const PictureLoader::Result loaded = PictureLoader::load(path);
    if (!loaded.ok()) {
        prompts_.message(loaded.text(), QString(), Prompts::Kind::Error);
        return false;
    }
    picture = loaded.image;
    editor_.setBackground(path, picture);
    if (picture.width() > ScreenImageEncoder::kWidth || picture.height() > ScreenImageEncoder::kHeight)
        prompts_.message(largePictureWarning(picture.size()));
    return true;
}

int ScreenDesignerCommands::addParameter() { return editor_.addParameter(); }

int ScreenDesignerCommands::addAlarm() { return editor_.addAlarm(); }

} // namespace z5
