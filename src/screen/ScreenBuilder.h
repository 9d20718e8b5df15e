#pragma once
#include "screen/ScreenImageEncoder.h"
#include <QByteArray>
#include <QImage>
#include <QString>

namespace z5 {

class ScreenModel;

// Turns the designer's state into the screen stream the controller receives after
// the station byte and 0x3C: the encoded background picture (28681 bytes) and the
// 64 element words (128 bytes). Opening the port, the progress bar and the sending
// belong to the download chain that calls it.
class ScreenBuilder {
public:
    static constexpr int kStreamBytes = ScreenImageEncoder::kSentEntries + 128;  // 28809
    // Checked length of the screen stream (the screen header's data block).
    static constexpr int kScreenDataLength = ScreenImageEncoder::kLastSentEntry;

    enum class Status { Built, TooWide, TooHigh, DoesNotFit };
    struct Result {
        Status status = Status::Built;
        // The whole stream; empty when the build failed or nothing is to be sent.
        QByteArray stream;
        // The element words as sent (high byte first).
        QByteArray elementWords;
        // What to tell the user when the build failed.
        QString message;
        // For DoesNotFit: how many bytes the run-length code has beyond what the stream carries.
        int excess = 0;
        // Built in packed mode, but the bottom rows do not fit the stream: what
        // to tell the user (empty when the whole picture goes).
        QString warning;
        bool ok() const { return status == Status::Built; }
    };

    // Builds the stream from the model and the preview picture (its size is the
    // preview's; a null picture stands for an empty, black preview of the full
    // display). The model's element words are recomputed on the way.
    Result build(ScreenModel &model, const QImage &preview);
    // Recomputes the element words in the model from its elements (what a screen
    // file saves) and returns them as sent, high byte first.
    static QByteArray recomputeElementWords(ScreenModel &model);

    const ScreenImageEncoder &encoder() const { return encoder_; }

    static QString tooWideMessage();
    static QString tooHighMessage();
    static QString doesNotFitMessage(int needed, int excess);

    // Packed mode: eight pixels in three bytes from entry 0, every row starting on
    // a new group, so a picture needs packedBytes() and its rows reach the
    // controller whole only up to packedRowsCarried() (the height when all fit).
    static int packedBytes(int width, int height);
    static int packedRowsCarried(int width, int height);
    // Whether pixel (x, y) of a packed picture of that width is in the stream
    // with all three of its bits.
    static bool packedPixelCarried(int width, int x, int y);
    // For a picture of the display's size whose bottom rows the packed stream
    // does not carry: the question asked before a write; empty when it fits
    // (or is refused for its size anyway).
    static QString packedCutQuestion(int width, int height);
    static QString packedCutMessage(int width, int height);

private:
    ScreenImageEncoder encoder_;
};

} // namespace z5
