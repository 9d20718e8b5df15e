#pragma once
#include "record/RecordDifferences.h"
#include "record/RecordedWrite.h"
#include "record/WrittenParameters.h"
#include <QStringList>
#include <map>
#include <utility>

namespace z5 {

// What one write changed in its controller: its data against what the earlier
// finished writes of the same netlist to the same station left there.
struct WriteChange {
    // Nothing earlier of this netlist and station carried any of its tables.
    bool first = false;
    std::vector<FieldDifference> fields;
    // Tables that differ but name no fields (the schema, the alarm texts, the
    // screen), in words: "схема: блоки".
    QStringList tables;

    bool isEmpty() const { return fields.empty() && tables.isEmpty(); }
    // One line per change; "первая запись" or "без изменений" when there is none.
    QStringList lines() const;
};

// Goes through the record's writes oldest first and tells what each changed.
// Only finished writes change what the controller is taken to hold; a failed or
// unfinished write is compared with it all the same, for what it sent. The
// blocks a write's fields belong to are read from the block table of the
// latest write of its netlist that carried one.
class WriteChanges {
public:
    // Feed every write from the record's beginning, oldest first.
    WriteChange next(const RecordedWrite &entry);

private:
    struct Held {
        WrittenParameters parameters;
        std::map<int, QByteArray> otherTables;   // by tag: the schema's tables, the screen
        QByteArray blockTable;
    };
    std::map<std::pair<int, QByteArray>, Held> held_;
};

} // namespace z5
