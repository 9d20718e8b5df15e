#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

// The serial line as trend reading needs it. The application puts the line's
// owner behind it; tests a scripted controller.
class TrendLine {
public:
    virtual ~TrendLine() = default;
    // Holds the line for a page read, opening the port if it is closed; false
    // when another exchange holds it or the port cannot be opened.
    virtual bool begin() = 0;
    // Asks the recorder in block column `column` for part 0..29 of page 0..250
    // (0: the page being recorded).
    virtual bool sendPartRequest(int column, int part, int page) = 0;
    // Every byte that arrived since the last call.
    virtual QByteArray takeInput() = 0;
    enum class Ending { Read, NoReply, Cancelled };
    // Gives the line back after a page read, saying how it ended.
    virtual void end(Ending ending) = 0;
    // Starts or stops recording; no answer is awaited.
    virtual bool sendRecording(int column, bool start) = 0;
    // Bytes that came with part `part` and were not part of it, for the traffic monitor.
    virtual void noteStrayBytes(const QByteArray &bytes, int part) { (void)bytes, (void)part; }
    // Whether another exchange holds the line now.
    virtual bool busy() const { return false; }
    // Why the port could not be opened, for the line below "Нет сети!!!".
    virtual QString failureReason() const { return QString(); }
};

} // namespace z5
