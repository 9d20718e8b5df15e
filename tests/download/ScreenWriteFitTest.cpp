// A packed picture whose bottom rows do not fit is named before anything is
// sent; the user may still write what fits.
#include "WriteTestKit.h"
#include "download/DownloadChain.h"
#include "download/ScreenWrite.h"
#include "link/FakeSerialPort.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <QImage>
#include <gtest/gtest.h>

using namespace z5;

namespace {

struct ScreenRig : z5::testing::ChainRig {
    ScreenModel model;
    ScreenBuilder builder;
    ScreenWrite screen{chain, builder, model};
};

QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(0, 200, 0));
    return image;
}

} // namespace

struct AskRow {
    int height;
    bool asked;
    bool answer;
    bool sent;
};

class PackedScreenWrite : public ::testing::TestWithParam<AskRow> {};

TEST_P(PackedScreenWrite, AsksBeforeAnythingIsSent) {
    const AskRow &a = GetParam();
    ScreenRig r;
    r.prompts.confirmAnswer = a.answer;
    const QImage shown = picture(320, a.height);
    EXPECT_EQ(r.screen.startScreenWrite(shown), a.sent);
    ASSERT_EQ(r.prompts.messages.size(), a.asked ? 1u : 0u);
    if (a.asked) EXPECT_EQ(r.prompts.messages[0].text, ScreenBuilder::packedCutQuestion(320, a.height));
    if (!a.sent) {
        // Declined: nothing started, nothing hidden, nothing sent, the line free.
        r.clock.advance(8000);
        EXPECT_TRUE(r.port.writes().empty());
        EXPECT_TRUE(r.log.only("designer").isEmpty());
        EXPECT_FALSE(r.chain.isBusy());
        return;
    }
    r.clock.advance(600);
    ASSERT_EQ(r.port.writes().size(), 2u);
    ScreenModel copy = r.model;
    ScreenBuilder other;
    EXPECT_EQ(r.port.writes()[1].bytes.mid(2), other.build(copy, shown).stream) << "what fits, as built";
    EXPECT_EQ(r.prompts.messages.size(), a.asked ? 1u : 0u) << "asked once, not again at the build";
}

INSTANTIATE_TEST_SUITE_P(Answers, PackedScreenWrite,
                         ::testing::Values(AskRow{240, true, false, false}, AskRow{240, true, true, true},
                                           AskRow{239, false, false, true}));

TEST(PackedScreenWrite, RunLengthIsNotAskedButRefusedAtTheBuild) {
    ScreenRig r;
    r.model.setDisplayMode(ScreenModel::kRunLengthMode);
    QImage noisy(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) noisy.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    ASSERT_TRUE(r.screen.startScreenWrite(noisy));
    EXPECT_TRUE(r.prompts.messages.empty());
    r.clock.advance(600);
    ASSERT_EQ(r.prompts.messages.size(), 1u);
    EXPECT_TRUE(r.prompts.messages[0].text.startsWith(QStringLiteral("Картинка не помещается в Z5")));
    EXPECT_TRUE(r.port.writes().empty());
}
