#pragma once
#include <QString>

namespace z5 {

// The station record the program keeps for the user when no other file is
// named: in the user's data folder, which is made when missing.
QString defaultStationRecordPath();

} // namespace z5
