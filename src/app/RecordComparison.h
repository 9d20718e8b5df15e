#pragma once
#include "record/RecordDifferences.h"
#include "record/WrittenParameters.h"
#include <QObject>
#include <vector>

namespace z5 {

class Prompts;
class Session;

// The parameters as they stand against the last finished write of this
// netlist to this station in the station record: what the console marks,
// lists under "Изменения" and asks about before a write. Without a record (or
// before an import) nothing differs. The record is read again when the
// station, the netlist or the record changes, and after every write.
class RecordComparison : public QObject {
    Q_OBJECT
public:
    explicit RecordComparison(const Session &session);

    // True when the record holds a finished write of this netlist to this station.
    bool hasRecord() const;
    std::vector<FieldDifference> differences() const;
    // The field's value as last written, when it goes out otherwise now; empty
    // when it does not (or was never written). `type` and `row` say how the console shows it.
    QString writtenTextIfChanged(const StorePlace &place, int type, int row) const;

    // "Изменений с последней записи в Z5: N" for the status line; empty without a record.
    QString countText() const;
    // Before a write with N > 0 of the given differences: shows them and asks
    // whether to write those N changes. True: write.
    static bool mayWrite(Prompts &prompts, const std::vector<FieldDifference> &differences);
    static QString writeQuestion(const std::vector<FieldDifference> &differences);

    // The record changed under us (a write ended, a record was chosen).
    void recordChanged() { stale_ = true; }

signals:
    // A write ended: what differs may have changed.
    void written();

private:
    const WrittenParameters &lastWritten() const;

    const Session &session_;
    mutable WrittenParameters written_;
    mutable bool stale_ = true;
    mutable const void *readFrom_ = nullptr;
    mutable int readStation_ = 0;
    mutable QByteArray readHash_;
};

} // namespace z5
