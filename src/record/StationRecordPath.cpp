#include "record/StationRecordPath.h"
#include <QDir>
#include <QStandardPaths>

namespace z5 {

QString defaultStationRecordPath() {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/z5/z5-configurator");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/station-record.sqlite");
}

} // namespace z5
