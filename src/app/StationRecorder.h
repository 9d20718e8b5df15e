#pragma once
#include "record/RecordedWrite.h"
#include "record/StationRecord.h"
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

namespace z5 {

class LineSession;
class Prompts;
class SerialDevices;
class Session;
class WriteReply;
class WriteSequence;

// Enters every write the line owner runs in the station record: when it
// starts (who, which program, port, station, netlist), each header and data
// block and the port's closing and reopening as they go out, and how it ended.
// Without a record nothing is entered; when one could not be opened the user
// is told once, after the first write, that writes are not recorded. A step
// the record could not take is kept and tried again with the next; a write
// that could not be completed in the record stays unfinished there and the
// user is told.
class StationRecorder : public QObject {
    Q_OBJECT
public:
    explicit StationRecorder(Session &session);
    ~StationRecorder() override;

    // Opens the record at `path` (created when missing) and enters every write
    // from now on; on failure returns why, and writes are not recorded.
    QString open(const QString &path);
    // The record writes go into, or null.
    StationRecord *record() const { return record_.get(); }
    // Why writes are not recorded; empty when they are (or no record was asked for).
    const QString &problem() const { return problem_; }
    // Where the record is, for the About box: "Журнал записей в Z5: PATH", or why there is none.
    QString placeText() const;
    // The serial devices present, to name the adapter when the line knows none.
    void setSerialDevices(const SerialDevices *devices) { devices_ = devices; }

    // What a write sequence is: a screen stream makes a screen write, the
    // setpoint table a setpoint write, anything else a download.
    static RecordedWrite::Kind kindOf(const WriteSequence &sequence);
    // "Запись в Z5 не вносится в журнал записей: …"
    static QString notRecordedText(const QString &why);

private:
    void follow(const std::shared_ptr<WriteReply> &write);
    void stepTaken(int index, const QByteArray &wentOut);
    void finished();
    void flush();
    void tell(const QString &text);
    QString adapterOf(const QString &device) const;

    Session &session_;
    std::unique_ptr<StationRecord> record_;
    QString path_;
    QString problem_;
    bool problemTold_ = false;
    const SerialDevices *devices_ = nullptr;

    // The write under way.
    std::shared_ptr<WriteReply> write_;
    RecordedWrite entry_;
    std::vector<StationRecord::Step> pending_;
    int stored_ = 0;
    bool wentOut_ = false;
};

} // namespace z5
