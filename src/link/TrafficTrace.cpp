#include "link/TrafficTrace.h"
#include "link/TrafficLog.h"
#include "link/TrafficText.h"

namespace z5 {
namespace {

QByteArray lineOf(const TrafficRecord &record) { return TrafficText::line(record).toUtf8() + '\n'; }

} // namespace

TrafficTrace::TrafficTrace(const TrafficLog &log, const QString &path) : file_(path) {
    for (int i = 0; i < log.size(); ++i) file_.append(lineOf(log.at(i)));
    following_ = QObject::connect(&log, &TrafficLog::appended, [this](const TrafficRecord &r) { file_.append(lineOf(r)); });
}

TrafficTrace::~TrafficTrace() { QObject::disconnect(following_); }

bool TrafficTrace::finish(QString *error) {
    QObject::disconnect(following_);
    return file_.commit(error);
}

} // namespace z5
