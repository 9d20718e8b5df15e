#pragma once
#include "console/ConsoleExchange.h"
#include "console/ConsoleProgress.h"
#include "console/ConsoleState.h"
#include "console/ConsoleWrites.h"
#include "console/LiveRefresh.h"
#include "console/LiveView.h"
#include "console/ParameterPanel.h"
#include "import/ImportResult.h"
#include "app/NetlistImportCommand.h"
#include "app/RecordComparison.h"
#include "import/Numbering.h"
#include "link/LineOutcome.h"
#include <QObject>
#include <QString>
#include <functional>

namespace z5 {

class Session;

// The block console without its window: the block picked, the read of its
// values and their automatic re-read, the panel keys, the process commands,
// the writes and the progress bar. The window forwards the user's hand here
// and draws what this says; every request goes through the line owner's
// queue, which alone decides what waits behind what.
class ConsoleCore : public QObject {
    Q_OBJECT
public:
    explicit ConsoleCore(Session &session);
    ~ConsoleCore() override;
    ConsoleCore(const ConsoleCore &) = delete;
    ConsoleCore &operator=(const ConsoleCore &) = delete;

    // Asked before a download when no schema has been imported.
    static QString emptyDownloadQuestion() { return QStringLiteral("Схема не загружена. Записать пустую схему в Z5?"); }
    // Asked before parameter edits neither saved nor written could be lost.
    static QString unsavedQuestion() { return QStringLiteral("Сохранить изменения параметров?"); }
    // Asked before a write while fields show texts that were refused.
    static QString refusedFieldsQuestion(const QString &fields);

    ConsoleState &state() { return state_; }
    ParameterPanel &panel() { return panel_; }
    LiveView &liveView() { return live_; }
    LiveRefresh &refresh() { return refresh_; }
    ConsoleProgress &progress() { return progress_; }
    ConsoleExchange &exchange() { return exchange_; }
    const ConsoleExchange &exchange() const { return exchange_; }
    ConsoleWrites &writes() { return writes_; }
    // The parameters against the last write the station record holds.
    const RecordComparison &record() const { return record_; }
    RecordComparison &record() { return record_; }
    // False while a request the user started awaits its reply or a write runs:
    // the window then takes no input.
    bool isUsable() const { return usable_; }
    // The status line as last said.
    const QString &status() const { return status_; }

    // --- Files ---------------------------------------------------------------
    // "&Загрузить схему P-CAD ASCII": the new project replaces the old one only
    // when the import succeeds; the console then lets go of its reads of the old one.
    ImportResult importNetlist(Numbering mode);
    bool loadParameters(QChar decimalSeparator);
    bool saveParameters(QChar decimalSeparator);
    // The console or the program is about to close: fields still being typed are
    // finished, and edits neither saved nor written are asked about. False when
    // the user chose to stay (or the save he chose did not happen).
    bool mayClose(QChar decimalSeparator);

    // --- Picks -----------------------------------------------------------------
    // A right click: the parameter panel of the block is laid out; the refresh goes off.
    void pickForParameters(int column, int type);
    // A left click: the block becomes the one read; says what the window will
    // show. A trend recorder is read by the trend window, not here.
    LiveView::Shows pickForRead(int column, int type);
    // Queues the read of the block picked for reading. False when it could not
    // go out ("Нет сети!!!" was shown).
    bool readPicked();
    // The refresh is due or was turned on: the block shown is read again,
    // the window staying usable.
    void readAgain();
    void setRefreshInterval(int ms);
    // The user edited a setpoint field: replies leave the fields alone and the refresh stops.
    void setpointsEdited();

    // --- Panel keys ------------------------------------------------------------
    // A click on the shown panel picture (its own coordinates) or on a switch.
    void panelClicked(double x, double y);
    void switchClicked(int switchIndex);

    // --- "&Контроллер" ---------------------------------------------------------
    // Pause, start, the process picture: the panel rows give their place to
    // the pictures. Storing the configuration leaves them.
    void processCommand(z5::Request::CommandCode code);
    void downloadSchema();
    void writeSetpoints();

    // The window closes: the refresh goes off and the console's request ends.
    void close();

    // The user left a field (Tab, Return, the focus went) or pressed Esc in it.
    void finishField(int row);
    void revertField(int row);

signals:
    void statusChanged(const QString &text);
    void usableChanged(bool usable);
    // What the live view shows has new values (or the panel face was wiped).
    void drawn(z5::LiveView::Shows shows);
    // The parameter panel's rows or values changed.
    void panelChanged();
    // The refresh was switched or its values aged: "Обновлять" and the age follow.
    void refreshChanged();
    void processPictureChanged(bool pause);
    void setpointsEnabledChanged(bool enabled);

private:
    void setStatus(const QString &text);
    void setUsable(bool usable);
    void turnRefreshOff(const QString &reason);
    void onEnded(ConsoleExchange::Request request, LineOutcome outcome);
    void onBlockReply(const QByteArray &reply);
    void sendPanelKey(int key);
    void download();
    void writeShownSetpoints();
    // Before a write: the fields being typed are finished; with fields refused
    // the user is asked whether to write the stored values. False: write nothing.
    bool mayWriteStoredValues();

    Session &session_;
    ConsoleState state_;
    ConsoleProgress progress_;
    ParameterPanel panel_;
    ConsoleExchange exchange_;
    ConsoleWrites writes_;
    LiveView live_;
    LiveRefresh refresh_;
    NetlistImportCommand importCommand_;
    RecordComparison record_;
    bool usable_ = true;
    QString status_;
    bool writeSucceeded_ = true;
    // The refresh interval a lost adapter stopped, resumed when it is back; 0: none.
    int resumeRefreshMs_ = 0;
    QString writeFailure_;
    // What a write under way keeps as written once it has gone out whole.
    std::function<void()> keepWhenWritten_;
};

} // namespace z5
