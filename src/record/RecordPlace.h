#pragma once
#include <QString>

namespace z5 {

// Where the station record is kept: the file the user's settings name, else
// the default place. Both the configurator and z5ctl take it from here.
QString stationRecordPath();
// The platform's folder for the user's program data (on Linux
// ~/.local/share/z5/z5-configurator, on Windows %APPDATA%\z5\z5-configurator),
// file station-record.sqlite. Only meaningful once the program has named itself.
QString defaultStationRecordPath();
// The file a write is entered in: `chosen` when given (the command line's
// --record), else stationRecordPath(), the default place's folder made when missing.
QString stationRecordPathToWrite(const QString &chosen = QString());
// The settings key that names another file for the record.
inline QString stationRecordSetting() { return QStringLiteral("record/file"); }

} // namespace z5
