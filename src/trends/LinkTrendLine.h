#pragma once
#include "trends/TrendLine.h"
#include <functional>

namespace z5 {

class Link;

// Trend requests as frames of the controller link: a stepping read whose index
// is 10 + the part and whose count is the page, and the recording start (index
// 1) and stop (index 0) with count 2.
class LinkTrendLine : public TrendLine {
public:
    static constexpr int kFirstPartIndex = 10;
    static constexpr int kRecordingCount = 2;

    explicit LinkTrendLine(Link &link) : link_(link) {}

    bool open() override;
    bool sendPartRequest(int column, int part, int page) override;
    bool sendRecording(int column, bool start) override;
    QByteArray takeInput() override;
    bool busy() const override { return isBusy && isBusy(); }
    QString failureReason() const override;

    // Whether another exchange holds the line.
    std::function<bool()> isBusy;

private:
    bool send(int column, int index, int count);
    Link &link_;
};

} // namespace z5
