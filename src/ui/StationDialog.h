#pragma once
#include <QDialog>
#include <QPointer>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace z5 {

class LineSession;

// Chooses the controller's station number on the RS-485 line. A click on an
// entry, or the arrow keys, take effect at once; the dialog stays open until
// closed. Return closes it with the station chosen, Esc puts back the station it
// opened with. The window that opened it (its owner) is disabled while it is
// shown and is given back on every click and on closing.
class StationDialog : public QDialog {
    Q_OBJECT
public:
    StationDialog(LineSession &line, QWidget *owner);

    QListWidget *stationList() const { return list_; }
    QWidget *owner() const { return owner_; }

signals:
    // The station now in the settings changed.
    void stationChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onEntryClicked(QListWidgetItem *item);
    void take(int row);
    void giveBack();
    void showDevice();

    LineSession &line_;
    // The station chosen last (the line takes it when its turn comes).
    int station_;
    QPointer<QWidget> owner_;
    QListWidget *list_;
    QLabel *device_;
    int openedWith_;
};

} // namespace z5
