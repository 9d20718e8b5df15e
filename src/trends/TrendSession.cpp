#include "trends/TrendSession.h"
#include "trends/TrendLine.h"

namespace z5 {

TrendSession::TrendSession(Clock &clock, TrendLine &line, QObject *parent)
    : QObject(parent), line_(line),
      assembler_(clock, TrendPageAssembler::Line{
                            [this](int part, int page) { return line_.sendPartRequest(column_, part, page); },
                            [this] { return line_.takeInput(); },
                            [this](const QByteArray &bytes, int part) { line_.noteStrayBytes(bytes, part); }}) {
    connect(&assembler_, &TrendPageAssembler::partArrived, this,
            [this](int partsIn) { emit readProgress(partsIn, TrendPageAssembler::kParts); });
    connect(&assembler_, &TrendPageAssembler::pageComplete, this, &TrendSession::onPageComplete);
    connect(&assembler_, &TrendPageAssembler::readFailed, this, &TrendSession::onReadFailed);
}

TrendSession::~TrendSession() = default;

QString TrendSession::noNetworkText() { return QStringLiteral("Нет сети!!!"); }

QString TrendSession::noReplyText() { return QStringLiteral("Нет ответа от Z5"); }

bool TrendSession::readPage(int page) {
    if (line_.busy()) {
        endWith(Outcome::Busy);
        return false;
    }
    if (page != kCurrentPage) pageNumber_ = clampPageNumber(page);
    if (!line_.begin()) {
        endWith(Outcome::NoNetwork);
        return false;
    }
    emit readProgress(0, TrendPageAssembler::kParts);
    return assembler_.start(page == kCurrentPage ? kCurrentPage : pageNumber_);
}

void TrendSession::cancel() {
    if (!assembler_.isReading()) return;
    assembler_.cancel();
    line_.end(TrendLine::Ending::Cancelled);
}

bool TrendSession::setRecording(bool start) {
    if (line_.busy() || reading()) return false;
    return line_.sendRecording(column_, start);
}

void TrendSession::onPageComplete(const TrendPage &page) {
    line_.end(TrendLine::Ending::Read);
    page_ = page;
    pageNumber_ = page.pageNumber;
    failureText_.clear();
    emit pageShown();
    emit readEnded(Outcome::Read);
}

void TrendSession::onReadFailed(TrendPageAssembler::Failure failure) {
    line_.end(TrendLine::Ending::NoReply);
    endWith(failure == TrendPageAssembler::Failure::NotSent ? Outcome::NoNetwork : Outcome::NoReply);
}

void TrendSession::endWith(Outcome outcome) {
    switch (outcome) {
    case Outcome::NoNetwork: {
        const QString reason = line_.failureReason();
        failureText_ = reason.isEmpty() ? noNetworkText() : noNetworkText() + u'\n' + reason;
        break;
    }
    case Outcome::NoReply: failureText_ = noReplyText(); break;
    case Outcome::Busy: failureText_.clear(); break;
    case Outcome::Read: break;
    }
    emit readEnded(outcome);
}

} // namespace z5
