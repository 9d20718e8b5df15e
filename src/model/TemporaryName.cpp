#include "model/TemporaryName.h"
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace z5 {
namespace {

// ".~z5" kind "-" process "-" eight hex digits; the process number is at most
// ten digits, so the ending takes at most 25 bytes.
constexpr int kEndingBytes = 25;

QString ending(TemporaryName::Kind kind, qint64 process, quint32 random) {
    return QStringLiteral(".~z5%1-%2-%3")
        .arg(QChar::fromLatin1(char(kind)))
        .arg(process)
        .arg(random, 8, 16, QLatin1Char('0'));
}

// The longest start of name whose UTF-8 form takes at most maxBytes, cut
// between characters. The UTF-8 form is never shorter than the UTF-16 one, so
// the cut name also fits where names are counted in UTF-16 units (Windows).
QString cutToBytes(const QString &name, int maxBytes) {
    int bytes = 0;
    int end = 0;
    while (end < name.size()) {
        const char32_t c = name.at(end).isHighSurrogate() && end + 1 < name.size()
                               ? QChar::surrogateToUcs4(name.at(end), name.at(end + 1))
                               : name.at(end).unicode();
        const int width = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes + width > maxBytes) break;
        bytes += width;
        end += c >= 0x10000 ? 2 : 1;
    }
    return name.left(end);
}

} // namespace

QString TemporaryName::make(const QString &targetName, Kind kind, qint64 process, quint32 random) {
    const QString tail = ending(kind, process, random);
    const int room = kMaxNameBytes - 1 - qMax(kEndingBytes, int(tail.toUtf8().size()));
    return QLatin1Char('.') + cutToBytes(targetName, room) + tail;
}

QString TemporaryName::beside(const QString &target, Kind kind, qint64 process) {
    const QFileInfo info(target);
    return info.absoluteDir().filePath(make(info.fileName(), kind, process, QRandomGenerator::global()->generate()));
}

std::optional<TemporaryName::Parsed> TemporaryName::parse(const QString &fileName) {
    static const QRegularExpression ours(QStringLiteral("^\\..*\\.~z5([tajd])-([0-9]{1,10})-[0-9a-f]{8}$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = ours.match(fileName);
    if (!m.hasMatch()) return std::nullopt;
    return Parsed{Kind(m.captured(1).at(0).toLatin1()), m.captured(2).toLongLong()};
}

QString TemporaryName::filter() { return QStringLiteral(".*.~z5*"); }

} // namespace z5
