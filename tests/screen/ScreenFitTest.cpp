// Whether a picture reaches the controller whole, in either display mode, and
// what the preview "Как на Z5" shows of it.
#include "screen/ControllerView.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenPalette.h"
#include <gtest/gtest.h>

using namespace z5;

namespace {

// Every pixel differs from the next one: the worst case for runs.
QImage stripes(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, ScreenPalette::colour((x + 3 * y) % 8));
    return image;
}

QImage plain(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ScreenPalette::colour(5));
    return image;
}

// The packed picture as a receiver of the stream decodes it: rows of whole
// groups of eight pixels in three bytes; -1 for a pixel whose bits are not all there.
int decodedIndex(const QByteArray &stream, int width, int x, int y) {
    const int rowBytes = 3 * ((width + 7) / 8);
    const int group = y * rowBytes + 3 * (x / 8);
    const int bit = 3 * (x % 8);
    const int lastByte = group + (bit + 2) / 8;
    if (lastByte >= ScreenImageEncoder::kSentEntries) return -1;
    std::uint32_t v = 0;
    for (int i = 0; i < 3 && group + i < ScreenImageEncoder::kSentEntries; ++i)
        v |= std::uint32_t(static_cast<unsigned char>(stream[group + i])) << (8 * i);
    return int((v >> bit) & 7);
}

} // namespace

struct FitRow {
    bool runLength;
    int width;
    int height;
    bool striped;
    bool whole;         // the whole picture reaches the controller
    int rowsCarried;    // packed: rows that arrive whole
};

class PictureFit : public ::testing::TestWithParam<FitRow> {};

TEST_P(PictureFit, IsToldBeforeSendingAndThePreviewShowsWhatArrives) {
    const FitRow &f = GetParam();
    ScreenModel model;
    model.setDisplayMode(f.runLength ? ScreenModel::kRunLengthMode : ScreenModel::kPackedMode);
    const QImage picture = f.striped ? stripes(f.width, f.height) : plain(f.width, f.height);
    ScreenBuilder builder;
    const ScreenBuilder::Result r = builder.build(model, picture);

    if (f.runLength) {
        // Run-length refuses a picture it cannot carry whole.
        EXPECT_EQ(r.ok(), f.whole);
        EXPECT_EQ(r.status, f.whole ? ScreenBuilder::Status::Built : ScreenBuilder::Status::DoesNotFit);
        EXPECT_TRUE(r.warning.isEmpty());
        return;
    }
    // Packed builds what fits and says what does not.
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.warning.isEmpty(), f.whole) << r.warning.toStdString();
    EXPECT_EQ(ScreenBuilder::packedCutQuestion(f.width, f.height).isEmpty(), f.whole);
    EXPECT_EQ(ScreenBuilder::packedRowsCarried(f.width, f.height), f.rowsCarried);

    // The preview, pixel by pixel, against the stream as sent.
    const QImage shown = ControllerView::asReceived(picture, model.colorThreshold(), false);
    ASSERT_EQ(shown.size(), picture.size());
    int missing = 0;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const int index = decodedIndex(r.stream, f.width, x, y);
            const QRgb expected = index < 0 ? ControllerView::notReceivedColour().rgb() : ScreenPalette::colour(index);
            missing += index < 0;
            ASSERT_EQ(shown.pixel(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(missing == 0, f.whole);
    // In run-length mode the preview is the reduced picture whatever its size.
    EXPECT_EQ(ControllerView::asReceived(picture, model.colorThreshold(), true),
              ControllerView::reduce(picture, model.colorThreshold()));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PictureFit,
    ::testing::Values(FitRow{false, 320, 240, true, false, 239},   // 28800 bytes: the last row is cut
                      FitRow{false, 320, 239, true, true, 239},    // 28680 bytes: all of it
                      FitRow{false, 313, 240, false, false, 239},  // 40 groups a row, as 320
                      FitRow{false, 312, 240, true, true, 240},    // 39 groups a row
                      FitRow{true, 320, 240, false, true, 0},      // 2400 runs
                      FitRow{true, 320, 239, false, true, 0},
                      FitRow{true, 320, 240, true, false, 0},      // a run a pixel
                      FitRow{true, 320, 239, true, false, 0}));

TEST(PictureFit, TheQuestionNamesTheRowsThatDoNotArrive) {
    EXPECT_EQ(ScreenBuilder::packedCutQuestion(320, 240),
              QStringLiteral("Картинка не помещается в Z5 целиком: нужно 28800 байт, помещается 28681. "
                             "Строки с Y = 239 по Y = 239 до Z5 не дойдут.\n\nЗаписать то, что помещается?"));
    // Refused for its size anyway, so no question about its rows.
    EXPECT_TRUE(ScreenBuilder::packedCutQuestion(321, 240).isEmpty());
    EXPECT_TRUE(ScreenBuilder::packedCutQuestion(320, 241).isEmpty());
    // The last row brings its first two pixels and no more.
    EXPECT_TRUE(ScreenBuilder::packedPixelCarried(320, 1, 239));
    EXPECT_FALSE(ScreenBuilder::packedPixelCarried(320, 2, 239));
}

TEST(PictureFit, AnEmptyPreviewIsABlackScreenWithoutAWarning) {
    ScreenModel model;
    ScreenBuilder builder;
    const ScreenBuilder::Result r = builder.build(model, QImage());
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.warning.isEmpty());
}
