#include "download/DownloadLog.h"
#include "download/ClosingSequence.h"
#include "model/Clock.h"

namespace z5 {

DownloadLog::DownloadLog(const Clock &clock, std::function<void(const QString &)> sink)
    : clock_(clock), sink_(std::move(sink)), startMs_(clock.nowMs()) {}

void DownloadLog::follow(DownloadProgress &progress) {
    connect(&progress, &DownloadProgress::progressChanged, this, &DownloadLog::progressChanged);
    connect(&progress, &DownloadProgress::progressShown, this, [this](bool shown) { closing_ = shown; });
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
    closing_ = false;
    writeFailed_ = false;
}

QString DownloadLog::tableName(int table) {
    return table == DownloadProgress::kScreenImage ? QStringLiteral("экран") : QStringLiteral("таблица %1").arg(table);
}

void DownloadLog::line(const QString &text) {
    if (sink_) sink_(QStringLiteral("%1 ms  %2").arg(clock_.nowMs() - startMs_, 5).arg(text));
}

// The progress bar's value counts the closing's ticks; the value it is shown
// with at the start is no tick.
void DownloadLog::progressChanged(int value) {
    if (closing_) line(QStringLiteral("закрытие: шаг %1 из %2").arg(value).arg(ClosingSequence::kClosingTick));
}

void DownloadLog::headerSent(int table, bool sent) {
    if (!sent) ++failures_;
    line(QStringLiteral("%1, заголовок%2").arg(tableName(table), sent ? QString() : QStringLiteral(" НЕ отправлен")));
}

void DownloadLog::dataSent(int table, int bytes, bool sent) {
    if (!sent) ++failures_;
    line(QStringLiteral("%1, данные %2 байт%3")
             .arg(tableName(table))
             .arg(bytes)
             .arg(sent ? QString() : QStringLiteral(" НЕ отправлены")));
}

void DownloadLog::tableRefused(int table, const QString &problem) {
    ++failures_;
    line(QStringLiteral("%1 пропущена: %2").arg(tableName(table), problem.section(QLatin1Char('\n'), 0, 0)));
}

void DownloadLog::portClosed() { line(QStringLiteral("порт закрыт")); }

void DownloadLog::finished() {
    finished_ = true;
    line(writeFailed_ ? QStringLiteral("закончено с ошибкой") : QStringLiteral("готово"));
}

} // namespace z5
