#pragma once
#include "trends/TrendLine.h"

namespace z5 {

class LineSession;

// Trend page reads and recording start and stop through the owner of the line:
// a page read holds the line as one exchange that it paces part by part.
class LineTrendLine : public TrendLine {
public:
    explicit LineTrendLine(LineSession &line) : line_(line) {}

    bool begin() override;
    bool sendPartRequest(int column, int part, int page) override;
    QByteArray takeInput() override;
    void noteStrayBytes(const QByteArray &bytes, int part) override;
    void end(Ending ending) override;
    bool sendRecording(int column, bool start) override;
    bool busy() const override;
    QString failureReason() const override;

private:
    LineSession &line_;
};

} // namespace z5
