#pragma once
#include "link/WriteSequence.h"
#include "record/RecordedWrite.h"

namespace z5 {

// A recorded write as a write sequence that sends it again: every header and
// data block byte for byte at its offset from the start, the port's closing and
// reopening where they were.
WriteSequence resendSequence(const RecordedWrite &write);

} // namespace z5
