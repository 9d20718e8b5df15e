#pragma once
#include "download/WriteStart.h"
#include "link/WriteSequence.h"
#include <QImage>
#include <QString>

namespace z5 {

class DownloadChain;
class ScreenBuilder;
class ScreenModel;

// The screen write, "&Записать в Z5 ": the designer's markers are hidden and
// 500 ms later the screen stream is built, the closing opens, the screen header
// goes and 100 ms later the stream. The closing ends it and sends the alarm texts.
class ScreenWrite {
public:
    static constexpr int kIntervalMs = 500;

    ScreenWrite(DownloadChain &chain, ScreenBuilder &builder, ScreenModel &model);

    // The question to ask before writing a packed picture whose bottom rows the
    // stream cannot carry; empty when there is nothing to ask (a run-length
    // picture, an empty preview: a black screen has nothing of the user's to lose).
    static QString fitQuestion(const ScreenModel &model, const QImage &preview);

    // `mnu_save_Z5`, once the front end has asked fitQuestion(). The preview is
    // the picture as the designer shows it; its size is the preview's size. A
    // picture the build refuses sends no screen, but the closing still runs:
    // the reply reports the screen refused and ends as no success.
    WriteStart startScreenWrite(const QImage &preview);

private:
    DownloadChain &chain_;
    ScreenBuilder &builder_;
    ScreenModel &model_;
};

} // namespace z5
