#include "link/TrafficText.h"
#include "link/TrafficLog.h"

namespace z5 {
namespace {

const char kHexDigits[] = "0123456789ABCDEF";

void appendHex(QString &out, const QByteArray &bytes, int from, int to) {
    for (int i = from; i < to; ++i) {
        const auto v = static_cast<std::uint8_t>(bytes[i]);
        if (i > from) out += QLatin1Char(' ');
        out += QLatin1Char(kHexDigits[v >> 4]);
        out += QLatin1Char(kHexDigits[v & 0x0F]);
    }
}

} // namespace

QString TrafficText::arrow(TrafficDirection direction) {
    return direction == TrafficDirection::Sent ? QStringLiteral("→") : QStringLiteral("←");
}

QString TrafficText::checkText(CheckState check) {
    switch (check) {
    case CheckState::Good: return QStringLiteral("верна");
    case CheckState::Bad: return QStringLiteral("неверна");
    case CheckState::None: break;
    }
    return QString();
}

QString TrafficText::hex(const QByteArray &bytes, int maxBytes) {
    const int n = static_cast<int>(bytes.size());
    const int shown = maxBytes >= 0 && maxBytes < n ? maxBytes : n;
    QString out;
    out.reserve(shown * 3 + 2);
    appendHex(out, bytes, 0, shown);
    if (shown < n) out += QStringLiteral(" …");
    return out;
}

QString TrafficText::hexDump(const QByteArray &bytes) {
    constexpr int kPerLine = 16;
    const int n = static_cast<int>(bytes.size());
    QString out;
    out.reserve((n / kPerLine + 1) * (kPerLine * 3 + 8));
    for (int from = 0; from < n; from += kPerLine) {
        out += QStringLiteral("%1  ").arg(from, 5, 10, QLatin1Char('0'));
        appendHex(out, bytes, from, qMin(from + kPerLine, n));
        out += QLatin1Char('\n');
    }
    return out;
}

QString TrafficText::line(const TrafficRecord &record) {
    const QChar tab = QLatin1Char('\t');
    return QString::number(record.ms) + tab + arrow(record.direction) + tab + record.what + tab +
           QString::number(record.bytes.size()) + tab + checkText(record.check) + tab + hex(record.bytes);
}

QByteArray TrafficText::text(const TrafficLog &log) {
    QByteArray out;
    for (int i = 0; i < log.size(); ++i) {
        out += line(log.at(i)).toUtf8();
        out += '\n';
    }
    return out;
}

} // namespace z5
