#include "screen/ScreenModel.h"
#include <gtest/gtest.h>

using z5::ScadaParameter;
using z5::ScreenModel;

TEST(ScreenModel, StartState) {
    const ScreenModel m;
    EXPECT_EQ(m.digits(), 6);
    EXPECT_EQ(m.digitSample(), "123456");
    EXPECT_EQ(m.colorThreshold(), 120);
    EXPECT_EQ(m.displayMode(), 1);
    EXPECT_FALSE(m.isRunLength());
    EXPECT_TRUE(m.backgroundPath().isEmpty());
    for (int k = 0; k < 16; ++k) {
        EXPECT_FALSE(m.parameter(k)->used);
        EXPECT_FALSE(m.alarm(k)->used);
        EXPECT_FALSE(m.parameter(k)->numberBox.visible);
    }
    EXPECT_EQ(m.alarmTexts().size(), 32);
}

TEST(ScreenModel, CreateNewKeepsTextsDigitsAndPicture) {
    ScreenModel m;
    m.setBackgroundPath("C:/фон.bmp");
    m.setDigits(3);
    m.setAlarmText(4, "Авария");
    m.setAlarmText(20, "запас");
    m.parameter(2)->used = true;
    m.parameter(2)->type = ScadaParameter::Gauge;
    m.parameter(2)->gaugePicture = {600, 900, true};
    m.setParameterColor(18, 5);
    m.alarm(4)->used = true;
    m.alarm(4)->isText = true;
    m.alarm(4)->alarm = true;
    m.alarm(4)->textBox = {900, 900, true};
    m.alarm(5)->marker = {1200, 600, true};
    m.setCoord(9, 12345, 2048);

    m.createNew();
    EXPECT_EQ(m.backgroundPath(), "C:/фон.bmp");
    EXPECT_EQ(m.digits(), 3);
    EXPECT_EQ(m.alarmText(4), "Авария");
    EXPECT_EQ(m.alarmText(20), "запас");
    EXPECT_TRUE(m.alarm(4)->isText);
    EXPECT_FALSE(m.alarm(4)->alarm);
    EXPECT_FALSE(m.alarm(4)->used);
    EXPECT_FALSE(m.alarm(4)->textBox.visible);
    EXPECT_EQ(m.alarm(5)->marker, (z5::ElementControl{0, 600, false}));
    EXPECT_EQ(m.parameter(2)->type, 0);
    EXPECT_FALSE(m.parameter(2)->gaugePicture.visible);
    EXPECT_EQ(m.parameterColor(18), 0);
    EXPECT_EQ(m.coord(9), 0);
    EXPECT_EQ(m.coordAttributes(9), 0);
}

TEST(ScreenModel, DigitsStepRoundFromSixToTwo) {
    ScreenModel m;
    const char *samples[] = {"12", "123", "1234", "12345", "123456", "12"};
    for (const char *s : samples) {
        m.stepDigits();
        EXPECT_EQ(m.digitSample(), s);
    }
    EXPECT_EQ(m.digitLabelWidth(), 200);
    EXPECT_EQ(m.numberBoxWidth(), 400);
    EXPECT_FALSE(m.setDigits(7));
    EXPECT_FALSE(m.setDigits(1));
    EXPECT_EQ(m.digits(), 2);
}

TEST(ScreenModel, TablesAreChecked) {
    ScreenModel m;
    EXPECT_EQ(m.parameter(16), nullptr);
    EXPECT_EQ(m.alarm(-1), nullptr);
    EXPECT_FALSE(m.setParameterColor(32, 1));
    EXPECT_FALSE(m.setAlarmColor(0, 8));
    EXPECT_FALSE(m.setAlarmText(32, "x"));
    EXPECT_FALSE(m.setColorThreshold(256));
    EXPECT_FALSE(m.setDisplayMode(-1));
    m.setCoord(64, 1);
    EXPECT_EQ(m.coord(64), 0);
    EXPECT_EQ(m.alarmText(-1), QString());
    EXPECT_TRUE(m == ScreenModel());

    // Entry k is the text colour of slot k, entry k + 16 its background.
    EXPECT_TRUE(m.setAlarmColor(3, 7));
    EXPECT_TRUE(m.setAlarmColor(19, 1));
    EXPECT_EQ(m.alarm(3)->textColor, 7);
    EXPECT_EQ(m.alarm(3)->backColor, 1);
}

TEST(ScreenModel, AttributeBitsOfOddWords) {
    ScreenModel m;
    m.parameter(1)->type = ScadaParameter::Level2;
    m.parameter(1)->textColor = 3;
    m.parameter(1)->backColor = 4;
    EXPECT_EQ(m.attributeBits(2), 0);
    EXPECT_EQ(m.attributeBits(3), 3 * 256 + 4 * 2048 + 2 * 16384);
    z5::ScadaAlarm &s = *m.alarm(5);
    s.textColor = 7;
    s.backColor = 1;
    s.alarm = true;
    s.isText = true;
    EXPECT_EQ(m.attributeBits(32 + 11), 7 * 256 + 2048 + 16384 + 32768);
}
