#include "model/UserSettings.h"
#include "model/AtomicFileSave.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace z5 {
namespace {

// Every file QSettings reads for the organisation: the program's and the
// organisation's, for the user and for the system. Where they are is learnt
// from settings of a name nobody uses, so that looking reads none of the real
// ones. Where settings are no files (the Windows registry) the names lead
// nowhere and nothing is refused.
QStringList settingsFiles(const QString &organisation) {
    const QString unused = QStringLiteral("z5-settings-location");
    QStringList files;
    for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
        const QSettings probe(QSettings::NativeFormat, scope, unused, settingsApplication());
        const QFileInfo own(probe.fileName());
        if (own.dir().dirName() != unused) continue;
        const QString folder = own.dir().absolutePath().chopped(unused.size()) + organisation;
        files << folder + QLatin1Char('/') + own.fileName() << folder + QLatin1Char('.') + own.suffix();
    }
    return files;
}

} // namespace

QString userSettingsProblem() {
    const QString organisation = QCoreApplication::organizationName();
    if (organisation.isEmpty()) return QString();
    for (const QString &file : settingsFiles(organisation)) {
        const QString kind = AtomicFileSave::otherKind(file);
        if (!kind.isEmpty())
            return QStringLiteral("Настройки не прочитаны: %1 — %2, а не обычный файл. Программа работает с настройками по умолчанию.")
                .arg(file, kind);
    }
    return QString();
}

std::unique_ptr<QSettings> userSettings() {
    const QString organisation = QCoreApplication::organizationName();
    if (organisation.isEmpty() || !userSettingsProblem().isEmpty()) return nullptr;
    return std::make_unique<QSettings>(organisation, settingsApplication());
}

} // namespace z5
