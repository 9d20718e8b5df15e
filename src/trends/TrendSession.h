#pragma once
#include "link/LineOutcome.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include "trends/TrendPageAssembler.h"
#include <QObject>
#include <QString>
#include <memory>

namespace z5 {

class Clock;
class LineReply;
class LineSession;
class PacedRead;

// What the trend window works on: the page on display, the channel group, the
// page number last asked for, the export precision and the recorder block the
// window was opened for. A page read is one request in the line owner's queue:
// it waits its turn, then holds the line while the assembler reads the page
// part by part. A read that fails leaves the page on display as it was.
class TrendSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kCurrentPage = 0;

    TrendSession(Clock &clock, LineSession &line, QObject *parent = nullptr);
    ~TrendSession() override;

    // The recorder block (its column) that every request goes to.
    void setBlock(int column) { column_ = column; }
    int block() const { return column_; }
    void setChannels(const TrendChannels &channels) { channels_ = channels; }
    const TrendChannels &channels() const { return channels_; }

    // Queues the read of a page: 0 for the one being recorded, else clamped to
    // 1..250 and remembered as the page number. A read still waiting or under
    // way gives way to it. False when it ended at once (the port did not open;
    // readEnded has then been emitted).
    bool readPage(int page);
    bool readNextPage() { return readPage(clampPageNumber(pageNumber_ + 1)); }
    bool readPreviousPage() { return readPage(clampPageNumber(pageNumber_ - 1)); }
    // A read is waiting for the line or under way.
    bool reading() const { return read_ != nullptr; }
    // A read cut off by its adapter going away goes on from the part it was on
    // once the line has the adapter back (off unless asked for).
    void setGoesOnWhenAdapterReturns(bool on) { goesOn_ = on; }
    // Between two parts of a page, a read gives the line to whatever waits for
    // it and then goes on from the next part (off unless asked for: a page read
    // alone holds the line for its 2.8 s).
    void setGivesWayBetweenParts(bool on) { givesWay_ = on; }
    // A read was cut off and waits for the adapter.
    bool interrupted() const { return interrupted_; }
    // Goes on with the last read, which ended without its page (no reply), from
    // the part it was on, keeping the parts already in. False when there is none.
    bool goOn();
    // Asked once a page's first part is in; a page it turns down ends its read as
    // Reply without being shown (see TrendPageAssembler::FirstPartCheck).
    void setFirstPartCheck(TrendPageAssembler::FirstPartCheck check) { assembler_.setFirstPartCheck(std::move(check)); }
    // The last read ended at its first part, turned down by the check.
    bool lastReadTurnedDown() const { return turnedDown_; }
    // The page being recorded as the first and latest part of the last read named it.
    int recordingPageAtFirstPart() const { return assembler_.recordingPageAtFirstPart(); }
    int recordingPageAtLatestPart() const { return assembler_.recordingPageAtLatestPart(); }
    int requestsSent() const { return assembler_.requestsSent(); }
    // Bytes that came with the parts of the last read and were not part of them.
    int strayBytes() const { return assembler_.strayBytes(); }
    // Ends a read waiting or under way quietly and gives the line back.
    void cancel();

    // Queues the start or stop of recording in the block: a frame without reply,
    // whose reply ends once its bytes have left (it may have ended on return).
    std::shared_ptr<LineReply> setRecording(bool start);

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
    // "Нет сети!!!", and on the next line the port's reason when there is one.
    static QString noNetworkText(const QString &reason);

signals:
    void readProgress(int partsIn, int parts);
    // A page is on display.
    void pageShown();
    // Reply: the page is on display; NoReply, NoNetwork (lastFailureText says
    // why) or Cancelled (the line owner gave the read up).
    void readEnded(z5::LineOutcome outcome);
    // The adapter went away during the read (lastFailureText says so): it goes
    // on by itself once the adapter is back; readEnded comes then.
    void readInterrupted();

private:
    void onReadFinished(const PacedRead *read, LineOutcome outcome);
    // Queues the paced read of `asked`; resuming, the assembler goes on where it was.
    std::shared_ptr<PacedRead> queueRead(int asked, bool resuming);
    void onPageComplete(const TrendPage &page);

    LineSession &line_;
    TrendPageAssembler assembler_;
    std::shared_ptr<PacedRead> read_;
    int readColumn_ = 0;
    TrendChannels channels_;
    TrendPage page_;
    TrendPage staged_;
    QString failureText_;
    int column_ = 0;
    int group_ = 0;
    int pageNumber_ = 1;
    int precision_ = 0;
    int askedPage_ = 0;
    bool goesOn_ = false;
    bool interrupted_ = false;
    // The page's first part was asked for: a cut-off read has something to go on from.
    bool pageStarted_ = false;
    bool turnedDown_ = false;
    bool givesWay_ = false;
    // The read under way paused between two parts to let others have the line.
    bool yielding_ = false;
};

} // namespace z5
