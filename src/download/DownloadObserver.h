#pragma once
#include <QString>

namespace z5 {

// What a write to the controller tells the windows (or the command line) as it
// goes. Every notification has a do-nothing default, so an observer picks what
// it shows.
class DownloadObserver {
public:
    // The "table" of a kind 0 write: the screen image.
    static constexpr int kScreenImage = -1;

    virtual ~DownloadObserver() = default;

    // The main window's progress bar: shown at value 1 when a write starts, then
    // `CLOSE_tick_count`, hidden at the closing.
    virtual void progressShown(bool /*shown*/) {}
    virtual void progressChanged(int /*value*/) {}
    // A header frame went out (sent false: the port refused it, the computer beeped).
    virtual void headerSent(int /*table*/, bool /*sent*/) {}
    // The data block that follows a header.
    virtual void dataSent(int /*table*/, int /*bytes*/, bool /*sent*/) {}
    // A table was not sent because its data could not be built as it stands.
    virtual void tableRefused(int /*table*/, const QString & /*problem*/) {}
    // The main window is disabled from the first data block until the closing.
    virtual void mainWindowEnabled(bool /*enabled*/) {}
    // The screen write hides the designer's markers and background while it builds;
    // the closing shows them again at the design size.
    virtual void designerHidden() {}
    virtual void designerRestored() {}
    virtual void portClosed() {}
    // The last block of the write has gone to the port.
    virtual void finished() {}
};

} // namespace z5
