#include "TrendRig.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCsv.h"
#include "trends/TrendCursor.h"
#include "trends/TrendPage.h"
#include "trends/TrendReply.h"
#include <gtest/gtest.h>

using namespace z5;

struct SampleCase {
    std::array<std::uint8_t, 4> bytes;
    float value;
};
void PrintTo(const SampleCase &row, std::ostream *os) { *os << row.value; }

class SampleDecoding : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleDecoding, FourBytesLeastSignificantFirstInThousandths) {
    EXPECT_EQ(decodeTrendSample(GetParam().bytes.data()), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Edges, SampleDecoding,
                         ::testing::Values(SampleCase{{0x18, 0xFC, 0xFF, 0xFF}, -1.0f},
                                           SampleCase{{0xFF, 0xFF, 0xFF, 0xFF}, -0.001f},
                                           SampleCase{{0x40, 0x42, 0x0F, 0x00}, 1000.0f},
                                           SampleCase{{0x00, 0x00, 0x00, 0x80}, float(-2147483648.0 / 1000.0)},
                                           SampleCase{{0xFF, 0xFF, 0xFF, 0x7F}, float(2147483647.0 / 1000.0)}));

TEST(TrendReplyDecoding, HeaderTimesAndDateFromTheirPositions) {
    QByteArray reply = z5::testing::trendPart(17, 4, 45, 3);
    reply.append("surplus");
    const auto part = decodeTrendPart(reply);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->pageNumber, 17);
    EXPECT_EQ(part->rowsRecorded, 45);
    EXPECT_EQ(part->recordingPage, 3);
    EXPECT_EQ(part->timeOfDay, (std::array<std::uint8_t, 3>{8, 14, 4}));
    EXPECT_EQ(part->date, (std::array<std::uint8_t, 3>{6, 12, 26}));
    EXPECT_EQ(part->samples[0], float(z5::testing::archiveSample(17, 32, 0) / 1000.0));
    EXPECT_FALSE(decodeTrendPart(reply.left(1063))) << "a short reply is not decoded";
    EXPECT_FALSE(decodeTrendPart(nullptr, 5000));
}

struct PercentCase {
    float low, high, value, percent;
};
void PrintTo(const PercentCase &row, std::ostream *os) { *os << row.value << " in " << row.low << ".." << row.high; }

class Percent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(Percent, ScaledClampedAndSafe) {
    const PercentCase &c = GetParam();
    EXPECT_FLOAT_EQ(trendPercent(c.value, c.low, c.high), c.percent);
}

INSTANTIATE_TEST_SUITE_P(Rows, Percent,
                         ::testing::Values(PercentCase{0, 200, 50, 25}, PercentCase{0, 200, 250, 100},
                                           PercentCase{0, 200, -10, 0}, PercentCase{-100, 100, 50, 50},
                                           PercentCase{-100, 100, -50, -25}, PercentCase{-100, 100, -200, -50},
                                           PercentCase{-40, -20, -30, -25}, PercentCase{-40, -20, -40, -50},
                                           PercentCase{-40, -20, 5, 0}, PercentCase{-100, 100, -2100000, 0},
                                           PercentCase{0, 200, -2100000, 0}, PercentCase{7, 7, 100, 0},
                                           PercentCase{0, 0, 5, 0}, PercentCase{100, 300, 200, 50}));

TEST(TrendChannelsColours, GroupOrderRedGreenYellowCyan) {
    const unsigned expected[4] = {0xFF0000, 0x00FF00, 0xFFFF00, 0x00FFFF};
    for (int c = 0; c < 32; ++c) EXPECT_EQ(trendChannelRgb(c), expected[c % 4]) << c;
}

TEST(TrendGroups, WrapAtBothEnds) {
    EXPECT_EQ(TrendPage::nextGroup(7), 0);
    EXPECT_EQ(TrendPage::previousGroup(0), 7);
    EXPECT_EQ(TrendPage::nextGroup(3), 4);
}

struct PageTextCase {
    const char *text;
    int page;
};
void PrintTo(const PageTextCase &row, std::ostream *os) { *os << '"' << row.text << '"'; }

class PageText : public ::testing::TestWithParam<PageTextCase> {};

TEST_P(PageText, LeadingNumberClampedToTheArchive) {
    EXPECT_EQ(pageNumberFromText(QString::fromUtf8(GetParam().text)), GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(Rows, PageText,
                         ::testing::Values(PageTextCase{"12abc", 12}, PageTextCase{"abc", 1}, PageTextCase{"", 1},
                                           PageTextCase{"0", 1}, PageTextCase{"300", 250}, PageTextCase{"999", 250},
                                           PageTextCase{"65537", 250}, PageTextCase{"99999999999999999999", 250},
                                           PageTextCase{"-70000", 1}, PageTextCase{" 7.6", 8},
                                           PageTextCase{"2.5", 2}, PageTextCase{"250", 250}));

TEST(TrendCursorTime, InterpolatedBetweenTheLabelledRowsAndOverMidnight) {
    TrendPage page;
    page.time = {6, 12, 26, 23, 50, 0, 23, 59, 20, 0, 8, 40, 0, 20, 40};
    EXPECT_EQ(TrendCursor::rowSeconds(page, 0), 23 * 3600 + 50 * 60);
    EXPECT_EQ(TrendCursor::rowSeconds(page, 28), 23 * 3600 + 54 * 60 + 40);
    EXPECT_EQ(TrendCursor::rowSeconds(page, 56), 23 * 3600 + 59 * 60 + 20);
    EXPECT_EQ(TrendCursor::rowSeconds(page, 112), 8 * 60 + 40);
    EXPECT_EQ(TrendCursor::rowSeconds(page, 196), 20 * 60 + 40 + 12 * 10);
    EXPECT_EQ(TrendCursor::rowSeconds(TrendPage(), 3), -1) << "a page without times";
    EXPECT_EQ(TrendCursor::clockText(8 * 3600 + 9 * 60 + 5), QStringLiteral("8:09:05"));
}

TEST(TrendCsvText, HeaderValidRowsAndEmptyMissingFields) {
    TrendPage page;
    page.rowCount = 2;
    page.setSample(0, 0, 12.5f);
    page.setSample(0, 31, -0.001f);
    page.setSample(1, 1, 3.0f);
    page.setSample(2, 0, 99.0f);   // past the valid rows
    TrendChannels channels;
    channels.names[1] = QStringLiteral("Давление, кПа");
    const QStringList lines = QString::fromUtf8(TrendCsv::build(page, channels)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("row,time,1,\"Давление, кПа\",3,")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(",32")));
    EXPECT_EQ(lines[1], QStringLiteral("1,,12.500") + QString(30, u',') + QStringLiteral(",-0.001"));
    EXPECT_EQ(lines[2], QStringLiteral("2,,,3.000") + QString(30, u','));
    EXPECT_EQ(lines[3], QString());
}
