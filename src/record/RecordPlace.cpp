#include "record/RecordPlace.h"
#include "model/UserSettings.h"
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace z5 {

QString defaultStationRecordPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/station-record.sqlite");
}

QString stationRecordPath() {
    if (const std::unique_ptr<QSettings> settings = userSettings()) {
        const QString chosen = settings->value(stationRecordSetting()).toString();
        if (!chosen.isEmpty()) return QDir::fromNativeSeparators(chosen);
    }
    return defaultStationRecordPath();
}

QString stationRecordPathToWrite(const QString &chosen) {
    if (!chosen.isEmpty()) return chosen;
    const QString path = stationRecordPath();
    // The default place is the program's own: its folder is made when missing.
    if (path == defaultStationRecordPath()) QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

} // namespace z5
