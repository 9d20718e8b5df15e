#include "trends/TrendCsv.h"
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

} // namespace

QByteArray TrendCsv::build(const TrendPage &page, const TrendChannels &channels) {
    QStringList header{QStringLiteral("row"), QStringLiteral("time")};
    for (int c = 0; c < TrendPage::kChannels; ++c) {
        const QString name = channels.name(c).trimmed();
        header << field(name.isEmpty() ? QString::number(c + 1) : name);
    }
    QByteArray out = header.join(u',').toUtf8() + "\r\n";
    for (int r = 0; r < page.rowCount && r < TrendPage::kRows; ++r) {
        QByteArray line = QByteArray::number(r + 1) + ',' + TrendCursor::clockText(TrendCursor::rowSeconds(page, r)).toUtf8();
        for (int c = 0; c < TrendPage::kChannels; ++c) {
            line += ',';
            if (page.hasSample(r, c)) line += QByteArray::number(double(page.sample(r, c)), 'f', 3);
        }
        out += line + "\r\n";
    }
    return out;
}

bool TrendCsv::write(const QString &path, const TrendPage &page, const TrendChannels &channels, QString *error) {
    return AtomicFileSave::save(path, build(page, channels), error);
}

} // namespace z5
