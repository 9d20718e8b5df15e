#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <gtest/gtest.h>

using z5::ScreenBuilder;
using z5::ScreenModel;

namespace {

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

ScreenModel runLengthModel() {
    ScreenModel m;
    m.setDisplayMode(ScreenModel::kRunLengthMode);
    return m;
}

} // namespace

TEST(ScreenBuilder, OneColourPictureInRunLength) {
    ScreenModel m = runLengthModel();
    ScreenBuilder b;
    const auto r = b.build(m, filled(320, 240, qRgb(0, 255, 255)));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    ASSERT_EQ(r.stream.size(), 28809);
    const auto at = [&](int i) { return static_cast<unsigned char>(r.stream[i]); };
    EXPECT_EQ(at(0), 99);
    EXPECT_EQ(at(1), 9);
    EXPECT_EQ(at(2), 63);  // width - 1 = 319
    EXPECT_EQ(at(3), 1);
    EXPECT_EQ(r.stream.mid(4, 2400), QByteArray(2400, char(6 + 248)));
    EXPECT_EQ(r.elementWords.size(), 128);
    EXPECT_EQ(r.stream.right(128), r.elementWords);
}

TEST(ScreenBuilder, RunsCrossRowEndsAndStopAtThirtyTwo) {
    ScreenModel m = runLengthModel();
    ScreenBuilder b;
    b.build(m, filled(2, 2, qRgb(255, 0, 0)));
    EXPECT_EQ(b.encoder().imageEntry(0), 4);
    EXPECT_EQ(b.encoder().imageEntry(4), 1 + 8 * 3);

    QImage row = filled(33, 1, qRgb(0, 255, 0));
    row.setPixel(32, 0, qRgb(0, 255, 0));
    b.build(m, row);
    EXPECT_EQ(b.encoder().imageEntry(0), 5);
    EXPECT_EQ(b.encoder().imageEntry(2), 32);
    EXPECT_EQ(b.encoder().imageEntry(4), 2 + 248);
    EXPECT_EQ(b.encoder().imageEntry(5), 2);
}

TEST(ScreenBuilder, ThresholdComesFromTheModel) {
    ScreenModel m = runLengthModel();
    ScreenBuilder b;
    const QImage pixel = filled(1, 1, qRgb(121, 120, 0));
    b.build(m, pixel);
    EXPECT_EQ(b.encoder().pixel(0, 0), 1);
    m.setColorThreshold(121);
    b.build(m, pixel);
    EXPECT_EQ(b.encoder().pixel(0, 0), 0);
}

TEST(ScreenBuilder, PictureSizeLimits) {
    ScreenModel m;
    ScreenBuilder b;
    m.alarm(0)->used = true;
    m.alarm(0)->marker = {720, 870, true};
    auto r = b.build(m, filled(321, 240, 0));
    EXPECT_EQ(r.status, ScreenBuilder::Status::TooWide);
    EXPECT_EQ(r.message, "Координата Х должна быть меньше 320");
    EXPECT_TRUE(r.stream.isEmpty());
    EXPECT_EQ(m.coord(32), 0);  // nothing recomputed
    EXPECT_EQ(b.encoder().imageEntry(2), 64);
    EXPECT_EQ(b.encoder().imageEntry(3), 1);

    r = b.build(m, filled(320, 241, 0));
    EXPECT_EQ(r.status, ScreenBuilder::Status::TooHigh);
    EXPECT_EQ(r.message, "Координата Y должна быть меньше 240");

    r = b.build(m, filled(320, 240, 0));
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(m.coord(32), 10);
}

TEST(ScreenBuilder, RunLengthThatDoesNotFitSendsNothing) {
    ScreenModel m = runLengthModel();
    ScreenBuilder b;
    QImage checks(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) checks.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const auto r = b.build(m, checks);
    EXPECT_EQ(r.status, ScreenBuilder::Status::DoesNotFit);
    EXPECT_EQ(r.excess, 3 + 76800 - 28680);
    EXPECT_EQ(r.message, "Картинка не помещается в Z5: нужно 76804 байт, помещается 28681 (лишних 48123)");
    EXPECT_TRUE(r.stream.isEmpty());

}

// `alternating` pixels each their own run, the rest green in runs of 32.
static QImage runsPicture(int alternating) {
    QImage image = filled(320, 240, qRgb(0, 255, 0));
    for (int i = 0; i < alternating; ++i) image.setPixel(i % 320, i / 320, i % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 0));
    return image;
}

TEST(ScreenBuilder, RunLengthEndingAtTheLastSentEntryFits) {
    ScreenModel m = runLengthModel();
    ScreenBuilder b;
    // 27124 + ceil(49676 / 32) = 28677 runs: the last at entry 28680.
    auto r = b.build(m, runsPicture(27124));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(b.encoder().imageEntry(0) + 256 * b.encoder().imageEntry(1), 28680);
    EXPECT_EQ(static_cast<unsigned char>(r.stream[28680]), 2 + 8 * 11);  // the last run: 49676 % 32 = 12 pixels

    r = b.build(m, runsPicture(27125));
    EXPECT_EQ(r.status, ScreenBuilder::Status::DoesNotFit);
    EXPECT_EQ(r.excess, 1);
}

TEST(ScreenBuilder, PackedModeEightPixelsInThreeBytes) {
    ScreenModel m;  // packed is the start mode
    ScreenBuilder b;
    QImage row = filled(16, 1, qRgb(0, 0, 0));
    row.setPixel(0, 0, qRgb(255, 0, 0));   // 1 in bits 0-2
    row.setPixel(15, 0, qRgb(0, 0, 255));  // 4 in bits 21-23 of the second group
    const auto r = b.build(m, row);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.stream.left(6), QByteArray::fromHex("010000000080"));

    const auto full = b.build(m, filled(320, 240, qRgb(255, 255, 255)));
    ASSERT_EQ(full.stream.size(), 28809);
    EXPECT_EQ(full.stream.left(28681), QByteArray(28681, char(0xFF)));
}

TEST(ScreenBuilder, PixelsOutsideASmallerPictureAreKept) {
    ScreenModel m;
    ScreenBuilder b;
    b.build(m, filled(320, 240, qRgb(255, 255, 255)));
    const auto r = b.build(m, filled(10, 1, qRgb(0, 0, 0)));
    // Group 8..15: pixels 8 and 9 black from this picture, 10..15 white from the last one.
    EXPECT_EQ(r.stream.mid(3, 3), QByteArray::fromHex("c0ffff"));
    EXPECT_EQ(b.encoder().pixel(10, 0), 7);
}

TEST(ScreenBuilder, RecomputingTheElementWordsLeavesThePictureAlone) {
    ScreenModel m = runLengthModel();
    ScreenBuilder b;
    b.build(m, filled(320, 240, qRgb(255, 0, 0)));
    m.alarm(2)->used = true;
    m.alarm(2)->marker = {720, 870, true};
    const QByteArray words = ScreenBuilder::recomputeElementWords(m);
    EXPECT_EQ(words.size(), 128);
    EXPECT_EQ(m.coord(36), 10);
    EXPECT_EQ(m.coord(37), 20);
    EXPECT_EQ(b.encoder().imageEntry(0), 99);  // the picture was not touched
    EXPECT_EQ(b.encoder().pixel(0, 0), 1);
}

TEST(ScreenBuilder, NullPreviewIsABlackScreen) {
    ScreenModel m = runLengthModel();
    ScreenBuilder b;
    const auto r = b.build(m, QImage());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.stream.mid(4, 2), QByteArray(2, char(248)));
}
