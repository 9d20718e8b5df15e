#include "screen/ScreenDesignerCommands.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenImageEncoder.h"
#include "screen/ScreenModel.h"
#include <QDir>
#include <QFileInfo>

namespace z5 {

namespace {

ScreenCommandResult ended(ScreenCommandResult::Outcome outcome, const QString &problem = QString()) {
    ScreenCommandResult result;
    result.outcome = outcome;
    result.problem = problem;
    return result;
}

} // namespace

ScreenDesignerCommands::ScreenDesignerCommands(ScreenModel &model, ScreenBuilder &builder)
    : model_(model), builder_(builder), editor_(model) {}

void ScreenDesignerCommands::rememberDir(const QString &path) {
    dir_ = path.isEmpty() ? QDir::currentPath() : QFileInfo(path).absolutePath();
}

ScreenCommandResult ScreenDesignerCommands::newScreen(Unsaved unsaved) {
    if (unsaved == Unsaved::Keep && hasUnsavedChanges()) return ended(ScreenCommandResult::Outcome::UnsavedChanges);
    model_.createNew();
    editor_.resetHistory();
    return ended(ScreenCommandResult::Outcome::Done);
}

ScreenCommandResult ScreenDesignerCommands::saveScreen(const QString &path) {
    // Only the element words are recomputed; the build sends nothing itself, so
    // the download chain's own no-send switch is left alone (a write that is
    // under way while the file dialog is open must not lose its tables).
    ScreenBuilder::recomputeElementWords(model_);
    if (path.isEmpty()) return ended(ScreenCommandResult::Outcome::Cancelled);
    rememberDir(path);
    QString why;
    if (!ScreenFile::save(path, model_, &why)) {
        // The reason (a text with a line break, a full disk) goes on a line of its own.
        return ended(ScreenCommandResult::Outcome::Failed,
                     why.isEmpty() ? ScreenFile::saveFailedMessage()
                                   : ScreenFile::saveFailedMessage() + QLatin1Char('\n') + why);
    }
    editor_.markSaved();
    return ended(ScreenCommandResult::Outcome::Done);
}

ScreenCommandResult ScreenDesignerCommands::loadScreen(const QString &path, QImage &picture, Unsaved unsaved) {
    if (unsaved == Unsaved::Keep && hasUnsavedChanges()) return ended(ScreenCommandResult::Outcome::UnsavedChanges);
    if (path.isEmpty()) return ended(ScreenCommandResult::Outcome::Cancelled);
    rememberDir(path);
    const ScreenFileError error = ScreenFile::load(path, model_);
    if (error.isError()) return ended(ScreenCommandResult::Outcome::Failed, error.message);
    editor_.resetHistory();
    ScreenCommandResult result = ended(ScreenCommandResult::Outcome::Done);
    if (loadBackground(picture, result.problem)) editor_.replaceBackground(picture);
    return result;
}

bool ScreenDesignerCommands::loadBackground(QImage &picture, QString &problem) {
    if (model_.backgroundPath().isEmpty()) {
        picture = QImage();
        return true;
    }
    const PictureLoader::Result loaded = PictureLoader::load(model_.backgroundPath());
    if (!loaded.ok()) {
        problem = loaded.text();
        return false;
    }
    picture = loaded.image;
    return true;
}

ScreenCommandResult ScreenDesignerCommands::chooseBackground(const QString &path, QImage &picture) {
    rememberDir(QString());
    if (path.isEmpty()) return ended(ScreenCommandResult::Outcome::Cancelled);
    const PictureLoader::Result loaded = PictureLoader::load(path);
    if (!loaded.ok()) return ended(ScreenCommandResult::Outcome::Failed, loaded.text());
    picture = loaded.image;
    editor_.setBackground(path, picture);
    ScreenCommandResult result = ended(ScreenCommandResult::Outcome::Done);
    if (picture.width() > ScreenImageEncoder::kWidth || picture.height() > ScreenImageEncoder::kHeight)
        result.oversizedPicture = picture.size();
    return result;
}

int ScreenDesignerCommands::addParameter() { return editor_.addParameter(); }

int ScreenDesignerCommands::addAlarm() { return editor_.addAlarm(); }

} // namespace z5
