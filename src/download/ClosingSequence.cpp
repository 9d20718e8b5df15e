#include "download/ClosingSequence.h"
#include "download/DataStep.h"
#include "download/DownloadTables.h"
#include "download/WriteMarks.h"
#include "download/WriteStart.h"

namespace z5 {

void ClosingSequence::append(WriteSequence &sequence, int openedAtMs, const DownloadTables &tables) {
    sequence.mark(openedAtMs, WriteMarks::kClosingOpened);
    for (int tick = 1; tick <= kClosingTick; ++tick) sequence.mark(openedAtMs + tick * kClosingIntervalMs, tick);
    // The port's close waits until the queued output has left: the parameter
    // table alone needs about 1.5 s of line time.
    const int closedAt = openedAtMs + closedAfterMs();
    sequence.closePort(closedAt);
    sequence.mark(closedAt, WriteMarks::kClosed);
    // A port that does not open here makes the header fail, and the write then
    // ends as a failure.
    const int alarmTextsAt = closedAt + kAlarmTextsDelayMs;
    sequence.reopenPort(alarmTextsAt);
    const DownloadTables *source = &tables;
    DataStep::appendTable(sequence, alarmTextsAt, Table::AlarmTexts,
                          [source] { return tableBlock(source->table(tableNumber(Table::AlarmTexts))); });
}

} // namespace z5
