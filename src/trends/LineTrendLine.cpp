#include "trends/LineTrendLine.h"
#include "link/LineSession.h"
#include "link/Request.h"
#include "link/SerialPort.h"

namespace z5 {

bool LineTrendLine::begin() { return line_.beginPacedExchange(); }

bool LineTrendLine::sendPartRequest(int column, int part, int page) {
    if (column < 0 || column > 254 || part < 0 || part > 29 || page < 0 || page > 255) return false;
    return line_.sendInPacedExchange(Request::trendPagePart(column, part, page));
}

QByteArray LineTrendLine::takeInput() { return line_.takeInput(); }

void LineTrendLine::noteStrayBytes(const QByteArray &bytes, int part) {
    line_.traffic().recordNote(QStringLiteral("лишние байты у части %1 графика: %2").arg(part + 1).arg(bytes.size()), bytes);
}

void LineTrendLine::end(Ending ending) {
    line_.endPacedExchange(ending == Ending::Read        ? LineSession::Outcome::Reply
                           : ending == Ending::Cancelled ? LineSession::Outcome::Cancelled
                                                         : LineSession::Outcome::NoReply);
}

bool LineTrendLine::sendRecording(int column, bool start) {
    if (column < 0 || column > 254) return false;
    return line_.sendWithoutReply(Request::recording(column, start));
}

bool LineTrendLine::busy() const { return line_.isBusy(); }

QString LineTrendLine::failureReason() const { return line_.portErrorText(); }

} // namespace z5
