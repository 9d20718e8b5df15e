#include "download/DownloadLog.h"
#include "download/ClosingSequence.h"
#include "download/WriteMarks.h"
#include "link/WriteReply.h"
#include "model/Clock.h"

namespace z5 {

DownloadLog::DownloadLog(const Clock &clock, std::function<void(const QString &)> sink)
    : clock_(clock), sink_(std::move(sink)), startMs_(clock.nowMs()) {}

void DownloadLog::follow(WriteReply &write) {
    connect(&write, &WriteReply::marked, this, &DownloadLog::marked);
    connect(&write, &WriteReply::headerSent, this, &DownloadLog::headerSent);
    connect(&write, &WriteReply::dataSent, this, &DownloadLog::dataSent);
    connect(&write, &WriteReply::stepRefused, this,
            [this](int table, const QString &problem, const QString &) { tableRefused(table, problem); });
    connect(&write, &WriteReply::portClosed, this, &DownloadLog::portClosed);
    connect(&write, &WriteReply::finished, this, [this, &write] { finished(write.succeeded()); });
}

void DownloadLog::restart() {
    startMs_ = clock_.nowMs();
    failures_ = 0;
    finished_ = false;
}

QString DownloadLog::tableName(int table) {
    return table == WriteSequence::kScreen ? QStringLiteral("экран") : QStringLiteral("таблица %1").arg(table);
}

void DownloadLog::line(const QString &text) {
    if (sink_) sink_(QStringLiteral("%1 ms  %2").arg(clock_.nowMs() - startMs_, 5).arg(text));
}

// The closing's ticks; the bar's value at the closing's opening is no tick.
void DownloadLog::marked(int mark) {
    if (WriteMarks::isClosingTick(mark))
        line(QStringLiteral("закрытие: шаг %1 из %2").arg(mark).arg(ClosingSequence::kClosingTick));
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

void DownloadLog::finished(bool succeeded) {
    finished_ = true;
    line(!succeeded ? QStringLiteral("закончено с ошибкой") : QStringLiteral("готово"));
}

} // namespace z5
