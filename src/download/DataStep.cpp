#include "download/DataStep.h"
#include "download/WriteMarks.h"

namespace z5 {

void DataStep::appendTable(WriteSequence &sequence, int atMs, Table table, WriteSequence::Build build) {
    const int tag = tableNumber(table);
    sequence.header(atMs, tag, Request::tableHeader(table), std::move(build));
    sequence.data(atMs + kIntervalMs, tag);
    if (table != Table::AlarmTexts) sequence.mark(atMs + kIntervalMs, WriteMarks::kWindowHeld, tag);
}

void DataStep::appendScreen(WriteSequence &sequence, int atMs, WriteSequence::Build build) {
    sequence.header(atMs, WriteSequence::kScreen, Request::screenHeader(), std::move(build));
    sequence.data(atMs + kIntervalMs, WriteSequence::kScreen);
    sequence.mark(atMs + kIntervalMs, WriteMarks::kWindowHeld, WriteSequence::kScreen);
}

} // namespace z5
