#pragma once
#include "download/DownloadObserver.h"
#include "ui/PortDialog.h"
#include "ui/ScreenDesignerCommands.h"
#include "ui/StationDialog.h"
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

// The main window `Scada_Z5_NEW`: the operator screen designer, the port and
// station dialogs, the way to the block console and the About box. It shows the
// progress of every write through the download chain (whoever started it) and
// is disabled while one is sending.
class MainWindow : public QMainWindow, private DownloadObserver {
    Q_OBJECT
public:
    static constexpr int kTwipsPerPixel = 15;

    explicit MainWindow(Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Menu commands, by their menu names.
    QAction *mnu_NEW() const { return mnu_NEW_; }
    QAction *mnuLoad() const { return mnuLoad_; }
    QAction *mnuSave() const { return mnuSave_; }
    QAction *mnuEXIT() const { return mnuEXIT_; }
    QAction *mnuCOM() const { return mnuCOM_; }
    QAction *mnuNUM_Z5() const { return mnuNUM_Z5_; }
    QAction *mnu_SCHEMA_OPEN() const { return mnu_SCHEMA_OPEN_; }
    QAction *mnu_FON() const { return mnu_FON_; }
    QAction *mnuParametr() const { return mnuParametr_; }
    QAction *mnuSignal() const { return mnuSignal_; }
    QAction *mnu_save_Z5() const { return mnu_save_Z5_; }
    QAction *undoAction() const { return undo_; }
    QAction *redoAction() const { return redo_; }
    QAction *likeControllerAction() const { return likeController_; }
    QAction *mnuAbout() const { return mnuAbout_; }

    QProgressBar *ProgressBar1() const { return progressBar_; }
    ScreenPreview *Picture1() const { return preview_; }
    QLineEdit *Text2() const { return threshold_; }
    QComboBox *TFT_LCD() const { return displayMode_; }
    QLabel *digitSample() const { return digitSample_; }
    QLabel *portStatus() const { return portStatus_; }

    // The open dialogs and the console, if any (null when none).
    PortDialog *portDialog() const { return portDialog_; }
    StationDialog *stationDialog() const { return stationDialog_; }
    QWidget *console() const { return console_; }
    QDialog *elementDialog() const { return elementDialog_; }
    ScreenDesignerCommands &designer() { return designer_; }

    static int px(int twips) { return twips / kTwipsPerPixel; }

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
    void openConsole();
    void openAbout();
    void startScreenWrite();
    void buildEditMenu(QMenu *scada);
    void openElementDialog(ScreenElement element);
    void showModified(bool modified);
    void loadScreenFile();
    void showDigits();
    void onThresholdEdited(const QString &text);
    // The port, the device it maps to and the station, in the status bar.
    void showPortStatus();
    void closeEverything();
    // No dialog that changes the port or the station opens while a write is
    // sending: the write would go on with another port or station halfway.
    bool writeUnderWay();

    // DownloadObserver
    void progressShown(bool shown) override;
    void progressChanged(int value) override;
    void mainWindowEnabled(bool enabled) override;
    void designerHidden() override;
    void designerRestored() override;

    Session &session_;
    ScreenDesignerCommands designer_;

    QAction *mnu_NEW_ = nullptr;
    QAction *mnuLoad_ = nullptr;
    QAction *mnuSave_ = nullptr;
    QAction *mnuEXIT_ = nullptr;
    QAction *mnuCOM_ = nullptr;
    QAction *mnuNUM_Z5_ = nullptr;
    QAction *mnu_SCHEMA_OPEN_ = nullptr;
    QAction *mnu_FON_ = nullptr;
    QAction *mnuParametr_ = nullptr;
    QAction *mnuSignal_ = nullptr;
    QAction *mnu_save_Z5_ = nullptr;
    QAction *mnuAbout_ = nullptr;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
    QAction *likeController_ = nullptr;

    ScreenPreview *preview_ = nullptr;
    QProgressBar *progressBar_ = nullptr;
    QLineEdit *threshold_ = nullptr;
    QComboBox *displayMode_ = nullptr;
    QLabel *digitSample_ = nullptr;
    QLabel *portStatus_ = nullptr;

    QPointer<PortDialog> portDialog_;
    QPointer<StationDialog> stationDialog_;
    QPointer<QWidget> console_;
    QPointer<QWidget> about_;
    QPointer<QDialog> elementDialog_;
};

} // namespace z5
