#include "screen/ScreenElementWords.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenModel.h"
#include <gtest/gtest.h>

using z5::ScadaParameter;
using z5::ScreenElementWords;
using z5::ScreenGeometry;
using z5::ScreenModel;

namespace {
QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values) b.append(static_cast<char>(v));
    return b;
}
} // namespace

TEST(ScreenElementWords, AlarmWithTextAndAlarmFlags) {
    ScreenModel m;
    z5::ScadaAlarm &s = *m.alarm(0);
    s.used = s.isText = s.alarm = true;
    s.textColor = 7;
    s.backColor = 1;
    s.textBox = {ScreenGeometry::alarmLeft(10), ScreenGeometry::alarmTop(20), true};
    const QByteArray words = ScreenElementWords::update(m);
    ASSERT_EQ(words.size(), 128);
    EXPECT_EQ(m.coord(32), 10);
    EXPECT_EQ(m.coord(33), 53012);
    EXPECT_EQ(words.mid(64, 4), bytes({0, 10, 207, 20}));
}

TEST(ScreenElementWords, MarkerPositionComesFromTheMarker) {
    ScreenModel m;
    z5::ScadaAlarm &s = *m.alarm(15);
    s.used = true;
    s.marker = {420 + 30 * 100, 270 + 30 * 7, true};
    s.textBox = {420, 270, false};
    s.backColor = 2;
    ScreenElementWords::update(m);
    EXPECT_EQ(m.coord(62), 100);
    EXPECT_EQ(m.coord(63), 7 + 2 * 2048);
}

TEST(ScreenElementWords, ParameterKindsAndTheGaugeLimit) {
    ScreenModel m;
    ScadaParameter &p = *m.parameter(3);
    p.used = true;
    p.type = ScadaParameter::Gauge;
    p.textColor = 2;
    p.gaugePicture = {9300, 570, true};
    const QByteArray words = ScreenElementWords::update(m);
    EXPECT_EQ(m.coord(6), 500);
    EXPECT_EQ(m.coord(7), 30 + 2 * 256 + 3 * 16384);
    EXPECT_EQ(words.mid(12, 4), bytes({1, 244, 194, 30}));

    p.gaugePicture.left = 9270;
    ScreenElementWords::update(m);
    EXPECT_EQ(m.coord(6), 315);
}

TEST(ScreenElementWords, OffScreenRowStillCarriesItsAttributes) {
    ScreenModel m;
    ScadaParameter &p = *m.parameter(0);
    p.used = true;
    p.numberBox = {450, 100, true};
    p.textColor = 1;
    ScreenElementWords::update(m);
    EXPECT_EQ(m.coord(0), 2);
    EXPECT_EQ(m.coord(1), 500 + 256);
}

TEST(ScreenElementWords, FreeNumberSlotIsSentOffTheScreenThroughRepeatedBuilds) {
    ScreenModel m;
    ScadaParameter &p = *m.parameter(4);
    p.used = true;
    p.numberBox = {ScreenGeometry::parameterLeft(0, 40), ScreenGeometry::parameterTop(0, 50), true};
    p.textColor = 7;
    p.backColor = 7;
    ScreenElementWords::update(m);
    EXPECT_EQ(m.coord(8), 40);
    EXPECT_EQ(m.coord(9), 50 + 7 * 256 + 7 * 2048);

    // Freed but not cleared: off the screen, the colours counted once.
    p.used = false;
    p.numberBox.visible = false;
    for (int i = 0; i < 5; ++i) ScreenElementWords::update(m);
    EXPECT_EQ(m.coord(8), 500);
    EXPECT_EQ(m.coord(9), 500 + 7 * 256 + 7 * 2048);
    p.backColor = 0;
    ScreenElementWords::update(m);
    EXPECT_EQ(m.coord(9), 500 + 7 * 256);
}

TEST(ScreenElementWords, UnusedSlotsAfterCreateNew) {
    ScreenModel m;
    const QByteArray words = ScreenElementWords::update(m);
    // Every free slot is off the screen.
    EXPECT_EQ(m.coord(0), 500);
    EXPECT_EQ(m.coord(1), 500);
    EXPECT_EQ(words.mid(0, 4), bytes({1, 244, 1, 244}));
    EXPECT_EQ(m.coord(32), 500);
    EXPECT_EQ(m.coord(33), 500);
    EXPECT_EQ(words.mid(64, 4), bytes({1, 244, 1, 244}));
}
