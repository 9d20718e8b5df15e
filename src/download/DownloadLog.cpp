#include "download/DownloadLog.h"
#include "model/Clock.h"

namespace z5 {

DownloadLog::DownloadLog(const Clock &clock, std::function<void(const QString &)> sink)
    : clock_(clock), sink_(std::move(sink)), startMs_(clock.nowMs()) {}

void DownloadLog::follow(DownloadProgress &progress) {
    connect(&progress, &DownloadProgress::progressChanged, this, &DownloadLog::progressChanged);
    connect(&progress, &DownloadProgress::headerSent, this, &DownloadLog::headerSent);
    connect(&progress, &DownloadProgress::dataSent, this, &DownloadLog::dataSent);
    connect(&progress, &DownloadProgress::tableRefused, this, &DownloadLog::tableRefused);
    connect(&progress, &DownloadProgress::portClosed, this, &DownloadLog::portClosed);
    connect(&progress, &DownloadProgress::finished, this, &DownloadLog::finished);
}

void DownloadLog::restart() {
    startMs_ = clock_.nowMs();
    failures_ = 0;
    finished_ = false;
    writeFailed_ = false;
}

QString DownloadLog::tableName(int table) {
    return table == DownloadProgress::kScreenImage ? QStringLiteral("screen") : QStringLiteral("table %1").arg(table);
}

void DownloadLog::line(const QString &text) {
    if (sink_) sink_(QStringLiteral("%1 ms  %2").arg(clock_.nowMs() - startMs_, 5).arg(text));
}

void DownloadLog::progressChanged(int value) { line(QStringLiteral("progress %1").arg(value)); }

void DownloadLog::headerSent(int table, bool sent) {
    if (!sent) ++failures_;
    line(QStringLiteral("%1 header%2").arg(tableName(table), sent ? QString() : QStringLiteral(" NOT sent")));
}

void DownloadLog::dataSent(int table, int bytes, bool sent) {
    if (!sent) ++failures_;
    line(QStringLiteral("%1 data, %2 bytes%3")
             .arg(tableName(table))
             .arg(bytes)
             .arg(sent ? QString() : QStringLiteral(" NOT sent")));
}

void DownloadLog::tableRefused(int table, const QString &problem) {
    ++failures_;
    line(QStringLiteral("%1 left out: %2").arg(tableName(table), problem.section(QLatin1Char('\n'), 0, 0)));
}

void DownloadLog::portClosed() { line(QStringLiteral("port closed")); }

void DownloadLog::finished() {
    finished_ = true;
    line(writeFailed_ ? QStringLiteral("ended, failed") : QStringLiteral("done"));
}

} // namespace z5
