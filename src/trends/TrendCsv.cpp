#include "trends/TrendCsv.h"
#include "trends/ArchiveHistory.h"
#include "model/AtomicFileSave.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCursor.h"
#include "trends/TrendPage.h"
#include <QStringList>

namespace z5 {
namespace {

QString field(const QString &text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray headerLine(const TrendChannels &channels) {
    QStringList header{QStringLiteral("row"), QStringLiteral("time")};
    for (int c = 0; c < TrendPage::kChannels; ++c) {
        const QString name = channels.name(c).trimmed();
        header << field(name.isEmpty() ? QString::number(c + 1) : name);
    }
    return header.join(u',').toUtf8() + "\r\n";
}

// One row: its number from 1, its time, the 32 samples of `table` (a page or a history).
template <typename Table>
void appendLine(QByteArray &out, int number, const QByteArray &time, const Table &table, int row) {
    out += QByteArray::number(number) + ',' + time;
    for (int c = 0; c < TrendPage::kChannels; ++c) {
        out += ',';
        if (table.hasSample(row, c)) out += QByteArray::number(double(table.sample(row, c)), 'f', 3);
    }
    out += "\r\n";
}

} // namespace

QByteArray TrendCsv::build(const TrendPage &page, const TrendChannels &channels) {
    QByteArray out = headerLine(channels);
    for (int r = 0; r < page.rowCount && r < TrendPage::kRows; ++r)
        appendLine(out, r + 1, TrendCursor::clockText(TrendCursor::rowSeconds(page, r)).toUtf8(), page, r);
    return out;
}

QByteArray TrendCsv::build(const ArchiveHistory &history, const TrendChannels &channels) {
    QByteArray out = headerLine(channels);
    out.reserve(out.size() + qsizetype(history.rowCount()) * 300);
    for (int r = 0; r < history.rowCount(); ++r)
        appendLine(out, r + 1, ArchiveHistory::timeText(history.timeAt(r)).toUtf8(), history, r);
    return out;
}

bool TrendCsv::write(const QString &path, const ArchiveHistory &history, const TrendChannels &channels,
                     QString *error) {
    return AtomicFileSave::save(path, build(history, channels), error);
}

bool TrendCsv::write(const QString &path, const TrendPage &page, const TrendChannels &channels, QString *error) {
    return AtomicFileSave::save(path, build(page, channels), error);
}

} // namespace z5
