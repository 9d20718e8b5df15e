#include "trends/TrendSession.h"
#include "link/LineSession.h"
#include "link/PacedRead.h"
#include "link/Request.h"
#include <utility>

namespace z5 {
namespace {

bool validPartRequest(int column, int part, int page) {
    return column >= 0 && column <= 254 && part >= 0 && part < TrendPageAssembler::kParts && page >= 0 && page <= 255;
}

} // namespace

TrendSession::TrendSession(Clock &clock, LineSession &line, QObject *parent)
    : QObject(parent), line_(line),
      assembler_(clock, TrendPageAssembler::Line{
                            [this](int part, int page) {
                                return read_ && validPartRequest(readColumn_, part, page) &&
                                       read_->send(Request::trendPagePart(readColumn_, part, page));
                            },
                            [this] { return read_ ? read_->takeInput() : QByteArray(); },
                            [this](const QByteArray &bytes, int part) {
                                if (read_)
                                    read_->noteInTraffic(
                                        QStringLiteral("лишние байты у части %1 графика: %2").arg(part + 1).arg(bytes.size()),
                                        bytes);
                            }}) {
    connect(&assembler_, &TrendPageAssembler::partArrived, this,
            [this](int partsIn) { emit readProgress(partsIn, TrendPageAssembler::kParts); });
    connect(&assembler_, &TrendPageAssembler::pageComplete, this, &TrendSession::onPageComplete);
    connect(&assembler_, &TrendPageAssembler::pageTurnedDown, this, [this] {
        turnedDown_ = true;
        if (read_) read_->end(LineOutcome::Reply);
    });
    assembler_.setGivesWay([this] { return givesWay_ && line_.waitingCount() > 0; });
    connect(&assembler_, &TrendPageAssembler::gaveWay, this, [this] {
        if (!read_) return;
        yielding_ = true;
        read_->end(LineOutcome::Reply);
    });
    connect(&assembler_, &TrendPageAssembler::readFailed, this, [this](LineOutcome outcome) {
        if (read_) read_->end(outcome);
    });
    connect(&line_, &LineSession::adapterReturned, this, [this] {
        if (!interrupted_) return;
        interrupted_ = false;
        queueRead(askedPage_, true);
    });
}

TrendSession::~TrendSession() { cancel(); }

QString TrendSession::noNetworkText() { return QStringLiteral("Нет сети!!!"); }

QString TrendSession::noReplyText() { return QStringLiteral("Нет ответа от Z5"); }

QString TrendSession::noNetworkText(const QString &reason) {
    return reason.isEmpty() ? noNetworkText() : noNetworkText() + u'\n' + reason;
}

bool TrendSession::readPage(int page) {
    cancel();
    if (page != kCurrentPage) pageNumber_ = clampPageNumber(page);
    const int asked = page == kCurrentPage ? kCurrentPage : pageNumber_;
    readColumn_ = column_;
    askedPage_ = asked;
    emit readProgress(0, TrendPageAssembler::kParts);
    pageStarted_ = false;
    turnedDown_ = false;
    yielding_ = false;
    const std::shared_ptr<PacedRead> read = queueRead(asked, false);
    return !(read->isFinished() && read->outcome() != LineOutcome::Reply);
}

bool TrendSession::goOn() {
    if (read_ || interrupted_ || !pageStarted_ || turnedDown_ || assembler_.partsIn() >= TrendPageAssembler::kParts)
        return false;
    const std::shared_ptr<PacedRead> read = queueRead(askedPage_, true);
    return !(read->isFinished() && read->outcome() != LineOutcome::Reply);
}

std::shared_ptr<PacedRead> TrendSession::queueRead(int asked, bool resuming) {
    auto read = std::make_shared<PacedRead>(Request::trendPagePart(readColumn_, 0, asked), TrendPageAssembler::kStallMs);
    read_ = read;
    const PacedRead *raw = read.get();
    connect(raw, &PacedRead::started, this, [this, raw, asked, resuming] {
        if (read_.get() != raw) return;
        if (resuming) {
            assembler_.resume();
            return;
        }
        pageStarted_ = true;
        assembler_.start(asked);
    });
    connect(raw, &PacedRead::arrived, this, [this, raw] {
        if (read_.get() == raw) assembler_.inputArrived();
    });
    connect(raw, &LineReply::finished, this, [this, raw](LineOutcome outcome) { onReadFinished(raw, outcome); });
    line_.enqueuePacedRead(read);
    return read;
}

void TrendSession::cancel() {
    interrupted_ = false;
    yielding_ = false;
    if (!read_) return;
    // Quietly: the read's end is not told.
    const std::shared_ptr<PacedRead> read = std::move(read_);
    read_.reset();
    assembler_.cancel();
    line_.cancel(*read);
}

std::shared_ptr<LineReply> TrendSession::setRecording(bool start) {
    return line_.enqueueFrame(Request::recording(column_, start));
}

void TrendSession::onPageComplete(const TrendPage &page) {
    staged_ = page;
    if (read_) read_->end(LineOutcome::Reply);
}

void TrendSession::onReadFinished(const PacedRead *read, LineOutcome outcome) {
    if (read_.get() != read) return;   // a read given up before
    const QString reason = read_->failure();
    read_.reset();
    if (std::exchange(yielding_, false) && outcome == LineOutcome::Reply) {
        // Back in the queue behind what was waiting; the parts in stay.
        queueRead(askedPage_, true);
        return;
    }
    assembler_.cancel();
    switch (outcome) {
    case LineOutcome::Reply:
        if (turnedDown_) break;
        page_ = staged_;
        pageNumber_ = page_.pageNumber;
        failureText_.clear();
        emit pageShown();
        break;
    case LineOutcome::NoNetwork:
        failureText_ = noNetworkText(reason);
        // Cut off by the adapter going away: it goes on once the adapter is back.
        if (goesOn_ && pageStarted_ && line_.awaitsAdapter()) {
            interrupted_ = true;
            emit readInterrupted();
            return;
        }
        break;
    case LineOutcome::NotDrained: failureText_ = noNetworkText(reason); break;
    case LineOutcome::NoReply:
    case LineOutcome::WrongCheckValue: failureText_ = noReplyText(); break;
    case LineOutcome::Cancelled: failureText_.clear(); break;
    }
    emit readEnded(outcome);
}

} // namespace z5
