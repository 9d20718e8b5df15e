// Whether a picture reaches the controller whole in either display mode, and
// the preview "Как на Z5" against the packed stream as a receiver decodes it.
#include "screen/ControllerView.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenPalette.h"
#include <gtest/gtest.h>

using namespace z5;

struct FitRow {
    bool runLength;
    int width;
    int height;
    bool striped;  // every pixel differs from the next: a run a pixel
    bool whole;
};
void PrintTo(const FitRow &row, std::ostream *os) { *os << (row.runLength ? "run-length " : "packed ") << row.width << " x " << row.height; }

class PictureFit : public ::testing::TestWithParam<FitRow> {};

TEST_P(PictureFit, IsToldAndPreviewedAsItArrives) {
    const FitRow &f = GetParam();
    ScreenModel model;
    model.setDisplayMode(f.runLength ? ScreenModel::kRunLengthMode : ScreenModel::kPackedMode);
    QImage picture(f.width, f.height, QImage::Format_RGB32);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) picture.setPixel(x, y, ScreenPalette::colour(f.striped ? (x + 3 * y) % 8 : 5));
    ScreenBuilder builder;
    const ScreenBuilder::Result r = builder.build(model, picture);
    // Run-length refuses what it cannot carry; packed builds what fits and warns.
    EXPECT_EQ(r.ok(), f.whole || !f.runLength);
    EXPECT_EQ(r.warning.isEmpty(), f.whole || f.runLength);
    if (f.runLength) return;
    EXPECT_EQ(ScreenBuilder::packedCutQuestion(f.width, f.height).isEmpty(), f.whole);
    const QImage shown = ControllerView::asReceived(picture, model.colorThreshold(), false);
    const int rowBytes = 3 * ((f.width + 7) / 8);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            // Bits 3i..3i+2 of the group's three bytes, lowest byte first.
            const int at = y * rowBytes + 3 * (x / 8), bit = 3 * (x % 8);
            std::uint32_t v = 0;
            for (int i = 0; i < 3 && at + i < r.stream.size(); ++i) v |= std::uint32_t(std::uint8_t(r.stream[at + i])) << (8 * i);
            const bool arrives = at + (bit + 2) / 8 < ScreenImageEncoder::kSentEntries;
            ASSERT_EQ(shown.pixel(x, y), arrives ? ScreenPalette::colour(int(v >> bit) & 7)
                                                 : ControllerView::notReceivedColour().rgb()) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PictureFit,
    ::testing::Values(FitRow{false, 320, 240, true, false}, FitRow{false, 320, 239, true, true},
                      FitRow{false, 313, 240, false, false}, FitRow{false, 312, 240, true, true},
                      FitRow{true, 320, 240, false, true}, FitRow{true, 320, 239, false, true},
                      FitRow{true, 320, 240, true, false}, FitRow{true, 320, 239, true, false}));
