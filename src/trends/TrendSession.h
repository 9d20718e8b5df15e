#pragma once
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include "trends/TrendPageAssembler.h"
#include <QObject>
#include <QString>

namespace z5 {

class Clock;
class TrendLine;

// What the trend window works on: the page on display, the channel group, the
// page number last asked for, the export precision and the recorder block the
// window was opened for. Page reads go through the assembler; a read that
// fails leaves the page on display as it was.
class TrendSession : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Read, NoNetwork, NoReply, Busy };
    Q_ENUM(Outcome)

    static constexpr int kCurrentPage = 0;

    TrendSession(Clock &clock, TrendLine &line, QObject *parent = nullptr);
    ~TrendSession() override;

    // The recorder block (its column) that every request goes to.
    void setBlock(int column) { column_ = column; }
    int block() const { return column_; }
    void setChannels(const TrendChannels &channels) { channels_ = channels; }
    const TrendChannels &channels() const { return channels_; }

    // Reads a page: 0 for the one being recorded, else clamped to 1..250 and
    // remembered as the page number. False when nothing started (readEnded
    // has then been emitted with the reason).
    bool readPage(int page);
    bool readNextPage() { return readPage(clampPageNumber(pageNumber_ + 1)); }
    bool readPreviousPage() { return readPage(clampPageNumber(pageNumber_ - 1)); }
    bool reading() const { return assembler_.isReading(); }
    int requestsSent() const { return assembler_.requestsSent(); }
    // Bytes that came with the parts of the last read and were not part of them.
    int strayBytes() const { return assembler_.strayBytes(); }
    // Ends a read under way quietly and gives the line back.
    void cancel();

    // Starts or stops recording in the block; false when the frame did not go out.
    bool setRecording(bool start);

    void nextGroup() { group_ = TrendPage::nextGroup(group_); }
    void previousGroup() { group_ = TrendPage::previousGroup(group_); }
    int group() const { return group_; }
    void setGroup(int group) { group_ = group >= 0 && group < TrendPage::kGroups ? group : 0; }

    int pageNumber() const { return pageNumber_; }
    void setPageNumber(long long page) { pageNumber_ = clampPageNumber(page); }
    int precision() const { return precision_; }
    void setPrecision(int index) { precision_ = index >= 0 && index <= 3 ? index : 0; }

    const TrendPage &page() const { return page_; }
    bool hasPage() const { return page_.pageNumber > 0; }
    // Why the last read failed, as the user is told it.
    QString lastFailureText() const { return failureText_; }

    // "Нет сети!!!" and "Нет ответа от Z5".
    static QString noNetworkText();
    static QString noReplyText();

signals:
    void readProgress(int partsIn, int parts);
    // A page is on display.
    void pageShown();
    void readEnded(z5::TrendSession::Outcome outcome);

private:
    void onPageComplete(const TrendPage &page);
    void onReadFailed(TrendPageAssembler::Failure failure);
    void endWith(Outcome outcome);

    TrendLine &line_;
    TrendPageAssembler assembler_;
    TrendChannels channels_;
    TrendPage page_;
    QString failureText_;
    int column_ = 0;
    int group_ = 0;
    int pageNumber_ = 1;
    int precision_ = 0;
};

} // namespace z5
