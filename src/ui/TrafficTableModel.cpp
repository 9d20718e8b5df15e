#include "ui/TrafficTableModel.h"
#include "link/TrafficLog.h"
#include "link/TrafficText.h"
#include <QColor>
#include <QFontDatabase>

namespace z5 {

TrafficTableModel::TrafficTableModel(TrafficLog &log, QObject *parent) : QAbstractTableModel(parent), log_(log) {
    connect(&log_, &TrafficLog::appended, this, &TrafficTableModel::onAppended);
    connect(&log_, &TrafficLog::cleared, this, &TrafficTableModel::onCleared);
    rebuild();
}

int TrafficTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TrafficTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

const TrafficRecord &TrafficTableModel::record(int row) const {
    static const TrafficRecord none;
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)] : none;
}

QVariant TrafficTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return QVariant();
    const TrafficRecord &r = record(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Time: return QString::number(r.ms);
        case Direction: return TrafficText::arrow(r.direction);
        case What: return r.what;
        case Length: return QString::number(r.bytes.size());
        case Check: return TrafficText::checkText(r.check);
        case Bytes: return TrafficText::hex(r.bytes, kShownBytes);
        default: return QVariant();
        }
    }
    if (role == Qt::TextAlignmentRole && (index.column() == Time || index.column() == Length))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole) {
        if (index.column() == Check && r.check == CheckState::Bad) return QColor(Qt::red);
        if (r.kind == TrafficKind::LineError) return QColor(Qt::red);
        if (r.kind == TrafficKind::Stray) return QColor(Qt::darkRed);
    }
    if (role == Qt::FontRole && index.column() == Bytes) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return QVariant();
}

QVariant TrafficTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Time: return QStringLiteral("Время, мс");
    case Direction: return QStringLiteral("Напр.");
    case What: return QStringLiteral("Что");
    case Length: return QStringLiteral("Длина");
    case Check: return QStringLiteral("КС");
    case Bytes: return QStringLiteral("Байты");
    default: return QVariant();
    }
}

void TrafficTableModel::setKindFilter(std::optional<TrafficKind> kind) {
    if (kind == filter_) return;
    filter_ = kind;
    rebuild();
}

void TrafficTableModel::setPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    pausedAt_ = log_.nextSequence();
    if (!paused_) rebuild();
}

void TrafficTableModel::rebuild() {
    beginResetModel();
    rows_.clear();
    earlierGone_ = filter_ ? log_.dropped(*filter_) : log_.dropped();
    for (int i = 0; i < log_.size(); ++i) {
        const TrafficRecord &r = log_.at(i);
        if (paused_ && r.sequence >= pausedAt_) break;
        if (accepts(r)) rows_.push_back(r);
    }
    endResetModel();
}

void TrafficTableModel::onAppended(const TrafficRecord &record) {
    if (paused_) return;
    // The log keeps a bounded ring: rows it no longer holds go with it.
    const std::uint64_t first = log_.firstSequence();
    int gone = 0;
    while (gone < rowCount() && rows_[static_cast<std::size_t>(gone)].sequence < first) ++gone;
    if (gone > 0) {
        beginRemoveRows(QModelIndex(), 0, gone - 1);
        rows_.erase(rows_.begin(), rows_.begin() + gone);
        earlierGone_ += std::uint64_t(gone);
        endRemoveRows();
    }
    if (!accepts(record)) return;
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    rows_.push_back(record);
    endInsertRows();
}

void TrafficTableModel::onCleared() { rebuild(); }

QByteArray TrafficTableModel::text() const {
    QByteArray out;
    for (const TrafficRecord &r : rows_) {
        out += TrafficText::line(r).toUtf8();
        out += '\n';
    }
    return out;
}

} // namespace z5
