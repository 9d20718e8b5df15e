#pragma once
#include "app/ConsoleCore.h"
#include "app/FieldSearch.h"
#include <QMainWindow>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <memory>

class QAction;
class QCheckBox;
class QLineEdit;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;

namespace z5 {

class ConsoleCanvas;
class ConsoleParameterView;
class LiveViewPane;
class Session;
class Timer;
class TrendWindow;

// The block console `BLOKI`: the project's blocks as icons in a grid, the
// parameter panel of the block picked with the right button, the read of the
// block picked with the left button, and the "&Контроллер" commands. It is
// shown in place of the main window and gives it back when closed. It is the
// console core's view: it forwards the user's hand and draws what the core says.
class ConsoleWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kCursorBlinkMs = 250;
    static constexpr int kPriorityLabelsDelayMs = 100;

    ConsoleWindow(Session &session, QWidget *mainWindow);
    ~ConsoleWindow() override;

    // The main window's "&Схема ": hides the main window and shows the console
    // with the slot numbers of its grid.
    void showInPlaceOfMainWindow();

    // Menu commands.
    void importNetlist();
    void loadParameters();
    void saveParameters();
    void closeConsole();
    void chooseStation();
    void findStations();
    void downloadSchema();
    void storeSchema();
    void writeSetpoints();
    void pauseProcess();
    void startProcess();
    // "Изменения": the fields that differ from the last write the record holds.
    void showChanges();
    void showWorkReport();

    // A mouse button went down on icon `iconNumber` of `Logik_Blok_img`.
    void iconPressed(int iconNumber, Qt::MouseButton button);
    // A click on `Picture_PAUSE_PROCESS` or `Picture_RABOTA_PROCESS`.
    void processPictureClicked();
    // A click on the shown panel picture (its own coordinates) or on one of its switches.
    void panelClicked(QPointF picturePoint);
    void switchClicked(int switchIndex);

    // What the window shows: block selection, reads, refresh, writes and progress.
    ConsoleCore &core() { return core_; }
    const ConsoleCore &core() const { return core_; }
    ConsoleCanvas *canvas() const { return canvas_; }
    QLabel *replyStatus() const { return status_; }
    QLabel *portStatus() const { return portStatus_; }
    // How many fields differ from the last write the record holds; empty without a record.
    QLabel *changeCount() const { return changeCount_; }
    // The filter: what to find, "только изменённые", and what was found.
    QLineEdit *findText() const { return findText_; }
    QCheckBox *onlyChanged() const { return onlyChanged_; }
    QComboBox *foundFields() const { return found_; }
    QAction *action(const QString &objectName) const;
    // False while the window is disabled (a write, the trend window, a dialog):
    // it then takes no input. A read, key or command under way leaves it usable.
    bool takesInput() const;
    // Asks about parameter edits neither saved nor written; false when the user stays.
    bool mayClose();
    // True while the console's latest read, key or command awaits its reply.
    bool awaitsReply() const { return core_.exchange().running() != ConsoleExchange::Request::None; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenus();
    QAction *addCommand(QMenu *menu, const char *objectName, const QString &caption, void (ConsoleWindow::*slot)());
    void printPriorityLabels();
    void placeCursor(const QPoint &iconCorner);
    void hideCursor();
    void hideLiveView();
    void showValueTable();
    void tidyForProcessCommand();
    void buildLiveView();
    // The refresh is due or was turned on: read again while the window is shown and usable.
    void readAgain();
    void draw(LiveView::Shows shows);
    // "Обновлять" and the age of the values follow the refresh.
    void showValueAge();
    void giveBackMainWindow();
    void openTrendWindow(int column);
    // The port, its device and the station, in the status bar.
    void showPortStatus();
    // A write greys the window as long as it runs.
    void followUsable(bool usable);
    // The marks of the panel's fields and the count in the status bar follow the store.
    void showChangeCount();
    void buildFilter();
    // The filter's list follows what is typed, the check box and the store.
    void showFound();
    // A pick in the list lays out that block's panel with the focus in the row found.
    void goToFound(int index);

    Session &session_;
    QPointer<QWidget> mainWindow_;
    ConsoleCore core_;
    std::unique_ptr<Timer> ageTimer_;
    std::unique_ptr<Timer> cursorTimer_;
    std::unique_ptr<Timer> priorityTimer_;

    ConsoleCanvas *canvas_ = nullptr;
    ConsoleParameterView *view_ = nullptr;
    LiveViewPane *liveView_ = nullptr;
    QLabel *heading_ = nullptr;
    QComboBox *refreshChoice_ = nullptr;
    QLabel *valueAge_ = nullptr;
    QComboBox *numbering_ = nullptr;
    QProgressBar *progressBar_ = nullptr;
    QLabel *status_ = nullptr;
    QLabel *portStatus_ = nullptr;
    QLabel *changeCount_ = nullptr;
    QLineEdit *findText_ = nullptr;
    QCheckBox *onlyChanged_ = nullptr;
    QComboBox *found_ = nullptr;
    std::vector<FoundField> foundFields_;
    QRect mainWindowPlace_;
    QAction *setpointAction_ = nullptr;
    QPointer<TrendWindow> trendWindow_;
    bool disabledForWrite_ = false;
};

} // namespace z5
