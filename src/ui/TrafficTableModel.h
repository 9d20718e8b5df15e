#pragma once
#include "link/TrafficRecord.h"
#include <QAbstractTableModel>
#include <deque>
#include <optional>

namespace z5 {

class TrafficLog;

// The rows of the traffic monitor: the log's transfers of the chosen kind. It
// keeps its own list of the records (their bytes are shared with the log), so
// a new transfer costs one row insert, and a paused view stays as it was while
// the log goes on recording.
class TrafficTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Direction, What, Length, Check, Bytes, ColumnCount };
    // Longer transfers show their first bytes only; the window shows them whole.
    static constexpr int kShownBytes = 16;

    explicit TrafficTableModel(TrafficLog &log, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // No value: every kind.
    void setKindFilter(std::optional<TrafficKind> kind);
    std::optional<TrafficKind> kindFilter() const { return filter_; }
    // While paused new transfers are kept by the log but not shown; resuming
    // shows everything the log holds.
    void setPaused(bool paused);
    bool isPaused() const { return paused_; }

    // How many earlier rows of the chosen kind the view no longer shows because
    // the log's bounded ring let them go.
    std::uint64_t earlierRowsGone() const { return earlierGone_; }

    // The record of a row; an empty record outside the rows.
    const TrafficRecord &record(int row) const;
    // The shown rows as text lines, for saving.
    QByteArray text() const;

private:
    void onAppended(const TrafficRecord &record);
    void onCleared();
    void rebuild();
    bool accepts(const TrafficRecord &record) const { return !filter_ || record.kind == *filter_; }

    TrafficLog &log_;
    std::deque<TrafficRecord> rows_;
    std::optional<TrafficKind> filter_;
    bool paused_ = false;
    // While paused, transfers from this sequence on are not shown.
    std::uint64_t pausedAt_ = 0;
    std::uint64_t earlierGone_ = 0;
};

} // namespace z5
