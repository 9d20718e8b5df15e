#pragma once
#include "trends/TrendSession.h"
#include <QMainWindow>
#include <QPointer>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace z5 {

class ArchiveReadDialog;
class Clock;
class HistoryWindow;
class LineSession;
class Prompts;
class TrendPlotWidget;

// The trend window `GRAFIK`: four channels of the page at a time, the group
// and page controls, recording start and stop, the workbook export and the
// printout. It keeps the recorder block it was opened for, is disabled while a
// read it started is under way and gives the console back when it closes.
class TrendWindow : public QMainWindow {
    Q_OBJECT
public:
    // block: the column of the recorder block every request goes to.
    TrendWindow(TrendSession &session, Prompts &prompts, int block, QWidget *console = nullptr);
    ~TrendWindow() override;

    // Reads the page being recorded (the console's pick of the block).
    void readCurrentPage();

    // Controls, as their buttons call them.
    void nextGroup();        // `Command1`
    void previousGroup();    // `Command2`
    void nextPage();         // `Command3`
    void previousPage();     // `Command4`
    void openPageDialog();   // `Image2`
    void startRecording();   // `Command5`
    void stopRecording();    // `Command6`
    void exportWorkbook();   // `Command_EXCEL`
    void print();            // `PRINT_1`
    // "Читать архив": the archive's pages into the station record.
    void openArchiveRead();
    // "История": the pages stored, on one time axis.
    void openHistory();
    // The line and clock an archive read takes its turns on, and the record it
    // stores into (the user's own when empty). Without them "Читать архив" is off.
    void setArchiveAccess(Clock &clock, LineSession &line, const QString &recordPath = QString());
    QString recordPath() const;
    // Open while shown; windows of their own, so that a page read disabling
    // this window leaves them (and "Отмена") in use.
    ArchiveReadDialog *archiveReadDialog() const;
    HistoryWindow *historyWindow() const;
    // Paints the printout of the current group; false, with the user told, when
    // the printer could not be used.
    bool printTo(QPrinter &printer);

    TrendPlotWidget *plot() const { return plot_; }
    TrendSession &session() { return session_; }
    int block() const { return block_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int shownPageNumber() const;
    void startRead(int page);
    void onReadEnded(LineOutcome outcome);
    void showPage();
    void showChannelNames();
    void showCursor(int row);
    void setRecording(bool start);
    QString defaultWorkbookName() const;

    TrendSession &session_;
    QPointer<TrendSession> sessionAlive_;   // a deferred delete may come after the session
    Prompts &prompts_;
    QPointer<QWidget> console_;
    int block_;
    TrendPlotWidget *plot_;
    QLabel *names_[4];
    QLabel *groupLabel_;
    QLabel *pageLabel_;
    QComboBox *precision_;
    QLabel *status_;
    QPushButton *archiveReadButton_;
    Clock *archiveClock_ = nullptr;
    LineSession *archiveLine_ = nullptr;
    QString recordPath_;
    QPointer<ArchiveReadDialog> archiveRead_;
    QPointer<HistoryWindow> history_;
};

} // namespace z5
