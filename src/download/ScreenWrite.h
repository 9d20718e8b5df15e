#pragma once
#include <QImage>
#include <memory>

namespace z5 {

class Timer;
class DownloadChain;
class ScreenBuilder;
class ScreenModel;

// The screen write, "&Записать в Z5 ": the designer's markers are hidden and
// 500 ms later the build timer builds the screen stream, opens the closing
// sequence, sends the screen header and, through the data step's timer, the stream. The
// closing sequence of the download ends it and sends the alarm texts.
class ScreenWrite {
public:
    static constexpr int kIntervalMs = 500;

    ScreenWrite(DownloadChain &chain, ScreenBuilder &builder, ScreenModel &model);
    ~ScreenWrite();

    // `mnu_save_Z5`. The preview is the picture as the designer shows it; its size
    // is the preview's size. False (nothing started) while another write is under
    // way, or when the user declines to write a packed picture whose bottom rows
    // do not fit.
    bool startScreenWrite(const QImage &preview);

    bool isBusy() const;
    Timer &buildTimer() { return *timer_; }

private:
    void onBuildTimer();

    DownloadChain &chain_;
    ScreenBuilder &builder_;
    ScreenModel &model_;
    QImage preview_;
    std::unique_ptr<Timer> timer_;
};

} // namespace z5
