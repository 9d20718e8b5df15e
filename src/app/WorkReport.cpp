#include "app/WorkReport.h"
#include "record/RecordedWrite.h"
#include "record/WriteChanges.h"

namespace z5 {
namespace {

QString kindText(RecordedWrite::Kind kind) {
    switch (kind) {
    case RecordedWrite::Kind::Download: return QStringLiteral("Запись схемы");
    case RecordedWrite::Kind::Setpoints: return QStringLiteral("Запись задатчиков");
    case RecordedWrite::Kind::Screen: return QStringLiteral("Запись экрана");
    }
    return QString();
}

QString outcomeText(const RecordedWrite &entry) {
    switch (entry.state) {
    case RecordedWrite::State::Finished: return QStringLiteral("закончена");
    case RecordedWrite::State::Failed:
        return entry.failure.isEmpty() ? QStringLiteral("не закончена")
                                       : QStringLiteral("не закончена: %1").arg(entry.failure);
    case RecordedWrite::State::Unfinished: return QStringLiteral("оборвана (конец записи не отмечен)");
    }
    return QString();
}

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

} // namespace

WorkReport::WorkReport(QObject *parent) : QAbstractTableModel(parent) {}

void WorkReport::build(const WriteHistory &history, const QDate &first, const QDate &last) {
    beginResetModel();
    rows_.clear();
    first_ = first;
    last_ = last;
    const QDateTime from = first.startOfDay().toUTC();
    const QDateTime to = last.endOfDay().toUTC();
    // The changes of a write are told against everything written before it.
    WriteChanges changes;
    for (const RecordedWrite &entry : history.entries(QDateTime::fromMSecsSinceEpoch(0, Qt::UTC), to)) {
        const WriteChange change = changes.next(entry);
        if (entry.started < from) continue;
        Row row;
        row.started = entry.started.toLocalTime();
        row.station = entry.station;
        row.kind = kindText(entry.kind);
        row.netlist = entry.netlistName;
        row.outcome = outcomeText(entry);
        row.sent = QStringLiteral("%1 из %2 байт").arg(entry.bytesSent).arg(entry.bytesTotal);
        row.changes = change.lines();
        rows_.push_back(row);
    }
    endResetModel();
}

QString WorkReport::title() const {
    return QStringLiteral("Отчёт о работах с %1 по %2").arg(first_.toString(kDateFormat), last_.toString(kDateFormat));
}

QString WorkReport::heading(int column) {
    switch (column) {
    case Time: return QStringLiteral("Время");
    case Station: return QStringLiteral("Станция");
    case Kind: return QStringLiteral("Запись");
    case Netlist: return QStringLiteral("Схема");
    case Outcome: return QStringLiteral("Итог");
    case Sent: return QStringLiteral("Передано");
    case Changes: return QStringLiteral("Изменения");
    default: return QString();
    }
}

QString WorkReport::cell(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return QString();
    const Row &r = rows_[static_cast<std::size_t>(row)];
    switch (column) {
    case Time: return r.started.toString(kDateFormat + QStringLiteral(" HH:mm:ss"));
    case Station: return QStringLiteral("№%1").arg(r.station);
    case Kind: return r.kind;
    case Netlist: return r.netlist;
    case Outcome: return r.outcome;
    case Sent: return r.sent;
    case Changes: return r.changes.join(QLatin1Char('\n'));
    default: return QString();
    }
}

int WorkReport::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int WorkReport::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant WorkReport::data(const QModelIndex &index, int role) const {
    if (!index.isValid()) return QVariant();
    if (role == Qt::DisplayRole) return cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    return QVariant();
}

QVariant WorkReport::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return heading(section);
    return QVariant();
}

} // namespace z5
