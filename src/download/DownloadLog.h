#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

namespace z5 {

class Clock;
class WriteReply;

// Turns a write's progress into one readable line per step, each with the time
// since the log was started: which table went out, the closing's ticks, the
// port's closing. The words are the traffic trace's ("таблица 0, заголовок"), so
// that the command line's log and its trace read alike.
class DownloadLog : public QObject {
    Q_OBJECT
public:
    DownloadLog(const Clock &clock, std::function<void(const QString &)> sink);

    // Logs the steps the write reports from now on.
    void follow(WriteReply &write);

    // Times count from now on.
    void restart();

    // Headers or data blocks that did not go out, and tables left out.
    int failures() const { return failures_; }
    bool isFinished() const { return finished_; }
    static QString tableName(int table);

private:
    void marked(int mark);
    void headerSent(int table, bool sent);
    void dataSent(int table, int bytes, bool sent);
    void tableRefused(int table, const QString &problem);
    void portClosed();
    void finished(bool succeeded);
    void line(const QString &text);

    const Clock &clock_;
    std::function<void(const QString &)> sink_;
    std::int64_t startMs_ = 0;
    int failures_ = 0;
    bool finished_ = false;
};

} // namespace z5
