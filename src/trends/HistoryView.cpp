#include "trends/HistoryView.h"
#include <algorithm>
#include <cmath>

namespace z5 {

void HistoryView::show(qint64 from, qint64 to) {
    const qint64 wanted = std::max<qint64>(to - from, 0);
    span_ = std::clamp(wanted, kShortestSpan, kLongestSpan);
    from_ = from + (wanted - span_) / 2;
}

void HistoryView::zoom(double factor, double fraction) {
    if (!(factor > 0)) return;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const double anchor = double(from_) + fraction * double(span_);
    const qint64 span = std::clamp<qint64>(qint64(std::llround(double(span_) / factor)), kShortestSpan, kLongestSpan);
    from_ = qint64(std::llround(anchor - fraction * double(span)));
    span_ = span;
}

void HistoryView::scroll(double spans) { from_ += qint64(std::llround(spans * double(span_))); }

double HistoryView::xOf(qint64 seconds, double width) const {
    return double(seconds - from_) * width / double(span_);
}

qint64 HistoryView::timeAt(double x, double width) const {
    return width > 0 ? from_ + qint64(std::llround(x / width * double(span_))) : from_;
}

} // namespace z5
