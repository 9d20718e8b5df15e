#pragma once
#include <QAbstractTableModel>
#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <vector>

namespace z5 {

class WriteHistory;

// "Отчёт о работах": every write into a controller the station record holds
// for a range of days, with what became of it and what it changed, as a table
// the window shows and the printout, the PDF and the workbook take over.
class WorkReport : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Station, Kind, Netlist, Outcome, Sent, Changes, ColumnCount };

    struct Row {
        QDateTime started;    // local time
        int station = 0;
        QString kind;         // "Запись схемы", "Запись задатчиков", "Запись экрана"
        QString netlist;
        QString outcome;      // "закончена", "не закончена: …", "оборвана"
        QString sent;         // "1234 из 5678 байт"
        QStringList changes;  // one line per change
    };

    explicit WorkReport(QObject *parent = nullptr);

    // The writes started on the days from `first` to `last` (local time, both
    // included), every station. The changes are told against the writes before
    // them, within the range or not.
    void build(const WriteHistory &history, const QDate &first, const QDate &last);

    const std::vector<Row> &rows() const { return rows_; }
    QDate first() const { return first_; }
    QDate last() const { return last_; }
    // "Отчёт о работах с 01.03.2024 по 02.03.2024"
    QString title() const;
    // The cell as it is shown, printed and exported; changes one per line.
    QString cell(int row, int column) const;
    static QString heading(int column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> rows_;
    QDate first_;
    QDate last_;
};

} // namespace z5
