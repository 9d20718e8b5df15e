#pragma once
#include "record/ArchivePageStore.h"
#include "trends/ArchiveHistory.h"
#include "trends/TrendChannels.h"
#include <QMainWindow>

class QDateTimeEdit;
class QLabel;
class QPrinter;

namespace z5 {

class HistoryPlotWidget;
class Prompts;

// "История": the pages of one recorder stored in the station record, on one
// time axis across pages. The range fields choose the time shown ("Показать");
// the buttons, the wheel and the keys scroll and zoom from minutes to weeks;
// the group buttons step through the channel groups as on a page. The shown
// range goes to a workbook ("EXCEL"), a CSV table ("CSV") or the printer
// ("Печать", with a preview, from which also to PDF).
class HistoryWindow : public QMainWindow {
    Q_OBJECT
public:
    HistoryWindow(const QString &recordPath, int station, int block, const TrendChannels &channels, int group,
                  int precision, Prompts &prompts, QWidget *owner = nullptr);

    // Reads the record's pages again (after an archive read stored more).
    void reload();
    // Shows the range the fields say.
    void showChosenRange();
    void nextGroup();
    void previousGroup();
    void exportWorkbook();
    void exportCsv();
    void print();
    bool printTo(QPrinter &printer);

    const ArchiveHistory &history() const { return history_; }
    HistoryPlotWidget *plot() const { return plot_; }
    // The rows within the time shown, for export and print.
    ArchiveHistory shownRows() const;

private:
    void showRange();
    void showGroup(int group);
    void showCursor(qint64 seconds);
    QString defaultFileName(const QString &suffix) const;
    void tellWritten(const QString &path, bool written, const QString &error, const QString &caption);

    QString recordPath_;
    int station_;
    int block_;
    TrendChannels channels_;
    int precision_;
    Prompts &prompts_;
    ArchivePageStore store_;
    ArchiveHistory history_;
    HistoryPlotWidget *plot_;
    QDateTimeEdit *from_;
    QDateTimeEdit *to_;
    QLabel *groupLabel_;
    QLabel *names_[4];
    QLabel *status_;
};

} // namespace z5
