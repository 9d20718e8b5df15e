#pragma once
#include "link/StationScan.h"
#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace z5 {

class Clock;
class LineSession;

// "Найти станции": asks stations №1 to №8 on the line which of them answer and
// lists what each did, as the answers come. An answering station is taken as
// the station with "Выбрать станцию" (or a double click on its row), which
// closes the dialog; "Искать снова" asks them all again. The search starts when
// the dialog opens and is given up when it closes. The window that opened it
// (its owner) is disabled while it is shown.
class StationScanDialog : public QDialog {
    Q_OBJECT
public:
    StationScanDialog(Clock &clock, LineSession &line, QWidget *owner);

    QTreeWidget *stationList() const { return list_; }
    QPushButton *takeButton() const { return take_; }
    QPushButton *againButton() const { return again_; }
    QLabel *statusLine() const { return status_; }
    const StationScan &search() const { return search_; }

    // Asks every station again from the start.
    void searchAgain();

signals:
    // The station now in the settings changed.
    void stationChanged();

protected:
    void done(int result) override;

private:
    void onStationJudged(const StationScan::Result &result);
    void onSearchEnded(LineOutcome outcome);
    void takeSelected();
    // The station of the selected row when it answers, else 0.
    int selectedAnsweringStation() const;
    void showTakeable();

    LineSession &line_;
    StationScan search_;
    QPointer<QWidget> owner_;
    QTreeWidget *list_;
    QLabel *status_;
    QPushButton *again_;
    QPushButton *take_;
};

} // namespace z5
