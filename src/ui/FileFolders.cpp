#include "ui/FileFolders.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include "model/UserSettings.h"
#include <QStandardPaths>

namespace z5 {
namespace {

const QString kGroup = QStringLiteral("folders");

QString settingsKey(const QString &kind) {
    return kGroup + QLatin1Char('/') + (kind.isEmpty() ? QStringLiteral("any") : kind);
}

} // namespace

QString FileFolders::kindOf(const QString &filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const auto m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

QString FileFolders::withDefaultSuffix(const QString &path, const QString &filter) {
    const QString kind = kindOf(filter);
    if (path.isEmpty() || kind.isEmpty()) return path;
    if (!QFileInfo(path).suffix().isEmpty()) return path;
    // A name ending in a dot gets the suffix after that dot.
    return path.endsWith(QLatin1Char('.')) ? path + kind : path + QLatin1Char('.') + kind;
}

QString FileFolders::folderFor(const QString &kind, const QString &given) {
    if (!given.isEmpty() && QDir(given).exists()) return given;
    const auto settings = userSettings();
    const QString kept = settings ? settings->value(settingsKey(kind)).toString() : QString();
    if (!kept.isEmpty() && QDir(kept).exists()) return kept;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

void FileFolders::remember(const QString &kind, const QString &chosenPath) {
    const auto settings = userSettings();
    if (chosenPath.isEmpty() || !settings) return;
    settings->setValue(settingsKey(kind), QFileInfo(chosenPath).absolutePath());
}

QStringList FileFolders::remembered() {
    const auto settings = userSettings();
    if (!settings) return {};
    settings->beginGroup(kGroup);
    QStringList folders;
    for (const QString &key : settings->childKeys()) {
        const QString folder = settings->value(key).toString();
        if (!folder.isEmpty() && !folders.contains(folder)) folders << folder;
    }
    return folders;
}

} // namespace z5
