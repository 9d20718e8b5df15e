#pragma once
#include "model/StreamedFileSave.h"
#include <QMetaObject>
#include <QString>

namespace z5 {

class TrafficLog;

// A log's transfers written into a file as they happen, in the text lines of
// TrafficText: what the log holds when the trace begins and every transfer
// after it, however many (the log itself keeps only the latest ones). The file
// is put in place over its name when the trace finishes (StreamedFileSave), so a
// trace that cannot be written leaves any old file as it was.
class TrafficTrace {
public:
    TrafficTrace(const TrafficLog &log, const QString &path);
    ~TrafficTrace();
    TrafficTrace(const TrafficTrace &) = delete;
    TrafficTrace &operator=(const TrafficTrace &) = delete;

    // Stops following the log and puts the file in place; false with the reason.
    bool finish(QString *error);

private:
    StreamedFileSave file_;
    QMetaObject::Connection following_;
};

} // namespace z5
