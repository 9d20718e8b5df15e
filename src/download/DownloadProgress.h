#pragma once
#include <QObject>
#include <QString>

namespace z5 {

// What a write to the controller reports as it goes. The main window, the
// console, the command line and a log each listen to what they show.
class DownloadProgress : public QObject {
    Q_OBJECT
public:
    // The "table" of a kind 0 write: the screen image.
    static constexpr int kScreenImage = -1;

    using QObject::QObject;

signals:
    // The main window's progress bar: shown at value 1 when a write starts, then
    // the closing tick count, hidden at the closing.
    void progressShown(bool shown);
    void progressChanged(int value);
    // A header frame went out (sent false: the port refused it, the computer beeped).
    void headerSent(int table, bool sent);
    // The data block that follows a header.
    void dataSent(int table, int bytes, bool sent);
    // A table was not sent because its data could not be built as it stands.
    void tableRefused(int table, const QString &problem);
    // The main window is disabled from the first data block until the closing.
    void mainWindowEnabled(bool enabled);
    // The screen write hides the designer's markers and background while it builds;
    // the closing shows them again at the design size.
    void designerHidden();
    void designerRestored();
    void portClosed();
    // The last block of the write has gone to the port.
    void finished();
};

} // namespace z5
