#include "download/DataStep.h"
#include "download/WriteMarks.h"

namespace z5 {

void DataStep::appendTable(WriteSequence &sequence, int atMs, int table, WriteSequence::Build build) {
    sequence.header(atMs, table, Request::tableHeader(Table(table)), std::move(build));
    sequence.data(atMs + kIntervalMs, table);
    if (table != kAlarmTextsTable) sequence.mark(atMs + kIntervalMs, WriteMarks::kWindowHeld, table);
}

void DataStep::appendScreen(WriteSequence &sequence, int atMs, WriteSequence::Build build) {
    sequence.header(atMs, WriteSequence::kScreen, Request::screenHeader(), std::move(build));
    sequence.data(atMs + kIntervalMs, WriteSequence::kScreen);
    sequence.mark(atMs + kIntervalMs, WriteMarks::kWindowHeld, WriteSequence::kScreen);
}

} // namespace z5
