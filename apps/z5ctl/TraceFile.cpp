#include "TraceFile.h"
#include "CommandLine.h"
#include "ExitCodes.h"
#include "link/TrafficTrace.h"
#include <QFileInfo>

namespace z5ctl {

QString TraceFile::configure(const Arguments &a) {
    if (!a.has(QStringLiteral("trace"))) return QString();
    path_ = a.value(QStringLiteral("trace"));
    if (path_.isEmpty()) return QStringLiteral("--trace needs a file");
    // Checked before the line is used, so that a run is not spent on a trace
    // that has nowhere to go.
    const QFileInfo folder(QFileInfo(path_).absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return QStringLiteral("--trace: cannot write into %1").arg(folder.filePath());
    if (QFileInfo(path_).isDir()) return QStringLiteral("--trace: %1 is a folder").arg(path_);
    return QString();
}

int TraceFile::run(const QString &verb, const z5::TrafficLog &log, const std::function<int()> &useLine) const {
    if (!enabled()) return useLine();
    z5::TrafficTrace trace(log, path_);
    const int status = useLine();
    QString error;
    if (trace.finish(&error)) return status;
    err(QStringLiteral("z5ctl %1: the trace was not written to %2: %3").arg(verb, path_, error));
    return status == kDone ? kBadInput : status;
}

} // namespace z5ctl
