// A packed picture whose bottom row does not fit is named before anything
// starts; "OK" writes what fits, "Cancel" nothing.
#include "WriteTestKit.h"
#include "download/DownloadChain.h"
#include "download/ScreenWrite.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <QImage>
#include <gtest/gtest.h>

using namespace z5;

struct AskRow {
    int height;
    bool answer;
    bool asked;
};
void PrintTo(const AskRow &row, std::ostream *os) { *os << "height " << row.height << (row.answer ? ", OK" : ", Cancel"); }

class PackedScreenWrite : public ::testing::TestWithParam<AskRow> {};

TEST_P(PackedScreenWrite, AsksBeforeAnythingIsSent) {
    z5::testing::ChainRig r;
    ScreenModel model;
    ScreenBuilder builder;
    ScreenWrite screen{r.chain, builder, model};
    r.prompts.confirmAnswer = GetParam().answer;
    QImage picture(320, GetParam().height, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const bool sends = GetParam().answer || !GetParam().asked;
    // The front end asks, as the main window does.
    const QString question = ScreenWrite::fitQuestion(model, picture);
    EXPECT_EQ(!question.isEmpty(), GetParam().asked);
    if (question.isEmpty() || r.prompts.confirm(question)) {
        EXPECT_TRUE(screen.startScreenWrite(picture));
    }
    r.clock.advance(8000);
    ASSERT_EQ(r.prompts.messages.size(), GetParam().asked ? 1u : 0u) << "asked once, before the build";
    if (GetParam().asked) {
        EXPECT_EQ(r.prompts.messages[0].text,
                  QStringLiteral("Картинка не помещается в Z5: нужно 28800 байт, помещается 28681. Строка Y = 239 до Z5 "
                                 "не дойдёт целиком.\n\nЗаписать то, что помещается?"));
    }
    EXPECT_EQ(r.port.writes().size(), sends ? 4u : 0u) << "header, screen, alarm texts: all or nothing";
    EXPECT_EQ(r.log.only("designer").isEmpty(), !sends);
}

INSTANTIATE_TEST_SUITE_P(Answers, PackedScreenWrite,
                         ::testing::Values(AskRow{240, false, true}, AskRow{240, true, true}, AskRow{239, false, false}));
