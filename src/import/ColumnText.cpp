#include "import/ColumnText.h"
#include <cmath>

namespace z5::columns {

QStringView mid(QStringView text, int col, int len) {
    const qsizetype start = col - 1;
    if (start < 0 || start >= text.size() || len <= 0) return {};
    return text.mid(start, std::min<qsizetype>(len, text.size() - start));
}

QStringView left(QStringView text, int len) {
    return len <= 0 ? QStringView() : text.first(std::min<qsizetype>(len, text.size()));
}

QStringView right(QStringView text, int len) {
    return len <= 0 ? QStringView() : text.last(std::min<qsizetype>(len, text.size()));
}

bool startsWith(QStringView text, QStringView prefix) { return text.startsWith(prefix); }

namespace {

// Reads characters of a number while skipping blanks anywhere, as the numeric reader does.
class NumberScanner {
public:
    explicit NumberScanner(QStringView t) : text_(t) {}
    QChar peek() {
        while (pos_ < text_.size() && (text_[pos_] == u' ' || text_[pos_] == u'\t')) ++pos_;
        return pos_ < text_.size() ? text_[pos_] : QChar();
    }
    void take() { ++pos_; }
    bool digit() { const QChar c = peek(); return c >= u'0' && c <= u'9'; }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

} // namespace

double value(QStringView text) {
    NumberScanner s(text);
    double sign = 1.0;
    if (s.peek() == u'-' || s.peek() == u'+') {
        if (s.peek() == u'-') sign = -1.0;
        s.take();
    }
    double result = 0.0;
    bool any = false;
    while (s.digit()) {
        result = result * 10.0 + (s.peek().unicode() - u'0');
        s.take();
        any = true;
    }
    if (s.peek() == u'.') {
        s.take();
        double scale = 0.1;
        while (s.digit()) {
            result += (s.peek().unicode() - u'0') * scale;
            scale /= 10.0;
            s.take();
            any = true;
        }
    }
    if (!any) return 0.0;
    const QChar e = s.peek();
    if (e == u'e' || e == u'E' || e == u'd' || e == u'D') {
        s.take();
        int expSign = 1;
        if (s.peek() == u'-' || s.peek() == u'+') {
            if (s.peek() == u'-') expSign = -1;
            s.take();
        }
        int exponent = 0;
        while (s.digit()) {
            if (exponent < 1000) exponent = exponent * 10 + (s.peek().unicode() - u'0');
            s.take();
        }
        if (result != 0.0) result *= std::pow(10.0, expSign * exponent);
    }
    return sign * result;
}

int intValue(QStringView text) {
    const double v = std::nearbyint(value(text));  // default rounding: half to even
    if (!(v > -1e9)) return -1000000000;
    if (v > 1e9) return 1000000000;
    return static_cast<int>(v);
}

} // namespace z5::columns
