#pragma once
#include "ui/PortDialog.h"
#include "screen/ScreenDesignerCommands.h"
#include "ui/StationDialog.h"
#include "ui/StationScanDialog.h"
#include <QMainWindow>
#include <QPointer>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;

namespace z5 {

class Session;
class ScreenPreview;
class WriteReply;

// The main window `Scada_Z5_NEW`: the operator screen designer, the port and
// station dialogs, the way to the block console and the About box. It shows the
// progress of every write through the download chain (whoever started it) and
// is disabled while one is sending.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kTwipsPerPixel = 15;

    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Menu commands, by their menu names.
    QAction *newScreenAction() const { return newScreenAction_; }
    QAction *loadScreenAction() const { return loadScreenAction_; }
    QAction *saveScreenAction() const { return saveScreenAction_; }
    QAction *exitAction() const { return exitAction_; }
    QAction *portAction() const { return portAction_; }
    QAction *stationAction() const { return stationAction_; }
    QAction *findStationsAction() const { return findStationsAction_; }
    QAction *consoleAction() const { return consoleAction_; }
    QAction *backgroundAction() const { return backgroundAction_; }
    QAction *addParameterAction() const { return addParameterAction_; }
    QAction *addAlarmAction() const { return addAlarmAction_; }
    QAction *writeScreenAction() const { return writeScreenAction_; }
    QAction *undoAction() const { return undo_; }
    QAction *redoAction() const { return redo_; }
    QAction *likeControllerAction() const { return likeController_; }
    QAction *aboutAction() const { return aboutAction_; }

    QProgressBar *progressBar() const { return progressBar_; }
    ScreenPreview *preview() const { return preview_; }
    QLineEdit *thresholdField() const { return threshold_; }
    QComboBox *displayMode() const { return displayMode_; }
    QLabel *digitSample() const { return digitSample_; }
    QLabel *portStatus() const { return portStatus_; }
    // "Запись в Z5 закончена", or why a write did not end so.
    QLabel *writeStatus() const { return writeStatus_; }

    // The open dialogs and the console, if any (null when none).
    PortDialog *portDialog() const { return portDialog_; }
    StationDialog *stationDialog() const { return stationDialog_; }
    StationScanDialog *stationScanDialog() const { return stationScanDialog_; }
    QWidget *console() const { return console_; }
    QDialog *elementDialog() const { return elementDialog_; }
    ScreenDesignerCommands &designer() { return designer_; }

    static int px(int twips) { return twips / kTwipsPerPixel; }

    // Loads an operator screen file named on the command line (a double click
    // on an .scd file), as the load command would; a failure is said as there.
    void openScreenFile(const QString &path);

    // Asked before a new screen, a loaded one or the end of the run drops unsaved changes.
    static QString discardQuestion();
    // Shown at once when the chosen background is larger than the controller's display.
    static QString largePictureWarning(QSize size);

protected:
    void closeEvent(QCloseEvent *event) override;
    // The console may have changed the station while this window was hidden.
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildDesignerPanel(QWidget *central);
    void openPortDialog();
    void openStationDialog();
    void openStationScan();
    void openConsole();
    void openAbout();
    void startScreenWrite();
    void buildEditMenu(QMenu *scada);
    void openElementDialog(ScreenElement element);
    void showModified(bool modified);
    void newScreen();
    void loadScreenFile();
    void showScreenFile(const QString &path);
    void saveScreenFile();
    void chooseBackground();
    // True when there are no unsaved changes or the user lets them go.
    bool mayDiscardChanges();
    // Tells what a designer's command reports; true when it did its work.
    bool showResult(const ScreenCommandResult &result);
    void showDigits();
    void onThresholdEdited(const QString &text);
    // The port, the device it maps to and the station, in the status bar.
    void showPortStatus();
    void closeEverything();
    // No dialog that changes the port or the station opens while a write is
    // sending: the write would go on with another port or station halfway.
    bool writeUnderWay();

    // Follows the writes of the configuration and the screen.
    void followDownloads();
    void followWrite(WriteReply &write);

    Session &session_;
    ScreenDesignerCommands designer_;

    QAction *newScreenAction_ = nullptr;
    QAction *loadScreenAction_ = nullptr;
    QAction *saveScreenAction_ = nullptr;
    QAction *exitAction_ = nullptr;
    QAction *portAction_ = nullptr;
    QAction *stationAction_ = nullptr;
    QAction *findStationsAction_ = nullptr;
    QAction *consoleAction_ = nullptr;
    QAction *backgroundAction_ = nullptr;
    QAction *addParameterAction_ = nullptr;
    QAction *addAlarmAction_ = nullptr;
    QAction *writeScreenAction_ = nullptr;
    QAction *aboutAction_ = nullptr;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
    QAction *likeController_ = nullptr;

    ScreenPreview *preview_ = nullptr;
    QProgressBar *progressBar_ = nullptr;
    QLineEdit *threshold_ = nullptr;
    QComboBox *displayMode_ = nullptr;
    QLabel *digitSample_ = nullptr;
    QLabel *portStatus_ = nullptr;
    QLabel *writeStatus_ = nullptr;

    QPointer<PortDialog> portDialog_;
    QPointer<StationDialog> stationDialog_;
    QPointer<StationScanDialog> stationScanDialog_;
    QPointer<QWidget> console_;
    QPointer<QWidget> about_;
    QPointer<QDialog> elementDialog_;
    // The write shown last (its reply lives on the line owner's queue).
    QPointer<QObject> followedWrite_;
};

} // namespace z5
