// A missing sample ends only its own channel's curve, on the screen and on paper;
// each time of day stands at the row whose part carried it, wherever it is shown.
#include "trends/TrendChannels.h"
#include "trends/TrendCursor.h"
#include "trends/TrendPage.h"
#include "trends/TrendPlotPainter.h"
#include "trends/TrendPrintout.h"
#include "trends/TrendWorkbook.h"
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace z5;

namespace {
constexpr int kGroup = 2;  // channels 8..11, each at its own level of a 0..100 scale
constexpr float kLevels[4] = {20.0f, 40.0f, 60.0f, 80.0f};
}

// Which channel of the group misses its samples from which row on (0: it records nothing).
struct Gap {
    int channel;
    int from;
};
void PrintTo(const Gap &row, std::ostream *os) { *os << "channel " << row.channel << " from " << row.from; }

class OneChannelMissing : public ::testing::TestWithParam<Gap> {};

TEST_P(OneChannelMissing, EndsOnlyItsOwnCurveOnScreenAndOnPaper) {
    TrendChannels ch;
    for (auto &s : ch.scales) s = {0.0f, 100.0f};
    TrendPage page;
    page.rowCount = TrendPage::kRows;
    for (int r = 0; r < TrendPage::kRows; ++r)
        for (int k = 0; k < 4; ++k)
            page.setSample(r, 8 + k, k == GetParam().channel && r >= GetParam().from ? TrendPage::kMissingLimit : kLevels[k]);
    QImage screen(TrendPlotPainter::size(), QImage::Format_RGB32);
    QImage paper(1700, 1100, QImage::Format_RGB32);  // 144 dpi: ten twips a pixel
    paper.setDotsPerMeterX(int(144 / 0.0254));
    paper.setDotsPerMeterY(int(144 / 0.0254));
    paper.fill(Qt::white);
    {
        QPainter p(&screen);
        TrendPlotPainter::draw(p, page, kGroup, ch);
        QPainter q(&paper);
        TrendPrintout::paint(q, paper, page, kGroup, ch);
    }
    const double s = TrendPrintout::scaleFor(paper);
    for (int r : {0, 30, 131, 237})
        for (int k = 0; k < 4; ++k) {
            const bool drawn = k != GetParam().channel || r + 1 < GetParam().from;
            const QRgb want = drawn ? trendChannelRgb(8 + k) : 0xFFFFFFu;
            // Midway along the segment from row r to row r + 1.
            EXPECT_EQ(screen.pixel(int(TrendPlotPainter::rowX(r)) + 1, int(TrendPlotPainter::percentY(kLevels[k]))) & 0xFFFFFF,
                      want) << "screen " << r << " " << k;
            const double x = TrendPrintout::kLeft + TrendPrintout::kRowTwips * (r + 0.5);
            const double y = TrendPrintout::kZeroY - TrendPrintout::kPositiveTwipsPerPercent * double(kLevels[k]);
            EXPECT_EQ(paper.pixel(int(x * s), int(y * s)) & 0xFFFFFF, want) << "paper " << r << " " << k;
        }
}

INSTANTIATE_TEST_SUITE_P(Gaps, OneChannelMissing, ::testing::Values(Gap{0, 0}, Gap{1, 31}, Gap{3, 132}, Gap{2, 238}));

// Time of day k and the page row whose part carried it: the label on screen and
// on paper, the workbook cell and the cursor's time all name that row.
class TimeOfDayLabels : public ::testing::TestWithParam<int> {};

TEST_P(TimeOfDayLabels, AgreeWithTheCursor) {
    const int k = GetParam();
    const int row = TrendCursor::kLabelledRows[k];
    const int documented[4] = {0, 56, 112, 184};
    EXPECT_EQ(row, documented[k]);
    EXPECT_EQ(TrendPlotPainter::rowAt(TrendPlotPainter::timeLabelX(k) - TrendPlotPainter::kTimeLabelOffset), row);
    EXPECT_EQ(TrendPrintout::timeLabelX(k), TrendPrintout::kLeft + TrendPrintout::kRowTwips * row);
    EXPECT_EQ(TrendWorkbook::kTimeRows[k], TrendWorkbook::kFirstDataRow + row);  // A4, A60, A116, A188
    TrendPage page;
    page.time = {6, 12, 26, 14, 5, 0, 14, 14, 20, 14, 23, 40, 14, 35, 40};
    EXPECT_EQ(TrendCursor::rowSeconds(page, row), page.timeSeconds(k));
}

INSTANTIATE_TEST_SUITE_P(FourTimes, TimeOfDayLabels, ::testing::Values(0, 1, 2, 3));
