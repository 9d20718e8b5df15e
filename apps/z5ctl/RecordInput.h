#pragma once
#include "CommandLine.h"
#include "record/StationRecord.h"
#include <memory>

namespace z5ctl {

// The station record the verbs that look into it read: --record FILE, else the
// one the settings name, else the default place. Null after saying why on
// standard error.
std::unique_ptr<z5::StationRecord> openRecordToRead(const QString &verb, const Arguments &a);

// One entry's outcome in a word or two: "finished", "unfinished", "failed: why".
QString outcomeText(const z5::RecordedWrite &write);
QString kindText(z5::RecordedWrite::Kind kind);

} // namespace z5ctl
