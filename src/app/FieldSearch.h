#pragma once
#include <QString>
#include <vector>

namespace z5 {

class RecordComparison;
class Session;

// A row of a block's panel the console's filter found.
struct FoundField {
    int column = -1;
    int type = 0;
    int row = -1;       // console row; -1 when only the block's name matched
    QString text;       // "PID 1 · Кп = 1,5" as the list shows it
};

// The console's filter: the blocks and panel rows whose block name, caption or
// value (as the panel shows it) contains `text`, case aside; with `onlyChanged`
// only the fields that differ from the last write the record holds.
std::vector<FoundField> findFields(const Session &session, const RecordComparison &record, const QString &text,
                                   bool onlyChanged);

} // namespace z5
