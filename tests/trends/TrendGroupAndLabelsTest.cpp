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

constexpr int kGroup = 2;                             // channels 8..11
constexpr float kLevels[4] = {20.0f, 40.0f, 60.0f, 80.0f};  // percent on a 0..100 scale

TrendChannels percentChannels() {
    TrendChannels ch;
    for (int c = 0; c < TrendPage::kChannels; ++c) ch.scales[static_cast<std::size_t>(c)] = {0.0f, 100.0f};
    return ch;
}

// Every channel of the group at its own level, one of them missing from `from` on.
TrendPage pageWithAGap(int missingIndex, int from) {
    TrendPage page;
    page.rowCount = TrendPage::kRows;
    page.time = {6, 12, 26, 14, 5, 0, 14, 14, 20, 14, 23, 40, 14, 35, 40};
    for (int r = 0; r < TrendPage::kRows; ++r)
        for (int k = 0; k < 4; ++k) {
            const bool missing = k == missingIndex && r >= from;
            page.setSample(r, TrendPage::firstChannelOf(kGroup) + k, missing ? TrendPage::kMissingLimit : kLevels[k]);
        }
    return page;
}

QRgb rgb(const QImage &img, double x, double y) { return img.pixel(int(x), int(y)) & 0xFFFFFF; }

QImage onScreen(const TrendPage &page) {
    QImage img(TrendPlotPainter::size(), QImage::Format_RGB32);
    QPainter p(&img);
    TrendPlotPainter::draw(p, page, kGroup, percentChannels());
    return img;
}

// 144 dpi: one pixel is ten twips.
QImage onPaper(const TrendPage &page) {
    QImage img(1700, 1100, QImage::Format_RGB32);
    img.setDotsPerMeterX(int(144 / 0.0254));
    img.setDotsPerMeterY(int(144 / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    TrendPrintout::paint(p, img, page, kGroup, percentChannels());
    return img;
}

} // namespace

// Which channel of the group misses its samples, and from which row on (0: the
// channel records nothing at all).
struct GapRow {
    int missingIndex;
    int from;
};

class OneChannelMissing : public ::testing::TestWithParam<GapRow> {};

TEST_P(OneChannelMissing, EndsOnlyItsOwnCurveOnScreenAndOnPaper) {
    const GapRow &g = GetParam();
    const TrendPage page = pageWithAGap(g.missingIndex, g.from);
    const QImage screen = onScreen(page);
    const QImage paper = onPaper(page);
    const double s = TrendPrintout::scaleFor(paper);
    for (int r : {0, 30, 131, 237}) {
        for (int k = 0; k < 4; ++k) {
            const int c = TrendPage::firstChannelOf(kGroup) + k;
            const bool drawn = k != g.missingIndex || r + 1 < g.from;
            const QRgb expected = drawn ? trendChannelRgb(c) : 0xFFFFFFu;
            // Midway along the segment from row r to row r + 1.
            EXPECT_EQ(rgb(screen, TrendPlotPainter::rowX(r) + 1, TrendPlotPainter::percentY(kLevels[k])), expected)
                << "screen, row " << r << ", channel " << c;
            const double x = TrendPrintout::kLeft + TrendPrintout::kRowTwips * (r + 0.5);
            const double y = TrendPrintout::kZeroY - TrendPrintout::kPositiveTwipsPerPercent * double(kLevels[k]);
            EXPECT_EQ(rgb(paper, x * s, y * s), expected) << "paper, row " << r << ", channel " << c;
        }
    }
    int segments = 0;
    TrendPlotPainter::forEachSegment(page, kGroup, [&](int, int) { ++segments; });
    EXPECT_EQ(segments, 3 * 239 + std::max(0, g.from - 1));
}

INSTANTIATE_TEST_SUITE_P(Gaps, OneChannelMissing,
                         ::testing::Values(GapRow{0, 0}, GapRow{1, 0}, GapRow{2, 31}, GapRow{3, 132},
                                           GapRow{0, 238}));

// A channel that misses one sample only stays ended after it: the curve is not
// picked up again further on.
TEST(OneChannelMissing, ASingleGapEndsTheCurveForGood) {
    TrendPage page = pageWithAGap(-1, 0);
    const int c = TrendPage::firstChannelOf(kGroup) + 1;
    page.setSample(50, c, TrendPage::kMissingLimit);
    int last = -1;
    TrendPlotPainter::forEachSegment(page, kGroup, [&](int r, int ch) {
        if (ch == c) last = r;
    });
    EXPECT_EQ(last, 48);
}

// Time of day k, the page row whose part carried it and its workbook cell.
struct LabelRow {
    int k;
    int row;
    const char *cell;
};

class TimeOfDayLabels : public ::testing::TestWithParam<LabelRow> {};

TEST_P(TimeOfDayLabels, StandAtTheirRowOnScreenOnPaperInTheWorkbookAndUnderTheCursor) {
    const LabelRow &l = GetParam();
    const TrendPage page = pageWithAGap(-1, 0);
    EXPECT_EQ(TrendCursor::kLabelledRows[l.k], l.row);
    EXPECT_EQ(TrendPlotPainter::rowAt(TrendPlotPainter::timeLabelX(l.k) - TrendPlotPainter::kTimeLabelOffset), l.row);
    EXPECT_EQ(TrendPrintout::timeLabelX(l.k), TrendPrintout::kLeft + TrendPrintout::kRowTwips * l.row);
    const int sheetRow = TrendWorkbook::kTimeRows[l.k];
    EXPECT_EQ(sheetRow, TrendWorkbook::kFirstDataRow + l.row);
    EXPECT_EQ(QStringLiteral("A%1").arg(sheetRow + 1), QString::fromLatin1(l.cell));
    // The cursor on that row reads the very time the label shows.
    EXPECT_EQ(TrendCursor::rowSeconds(page, l.row), page.timeSeconds(l.k));
}

INSTANTIATE_TEST_SUITE_P(FourTimes, TimeOfDayLabels,
                         ::testing::Values(LabelRow{0, 0, "A4"}, LabelRow{1, 56, "A60"}, LabelRow{2, 112, "A116"},
                                           LabelRow{3, 184, "A188"}));

// The label is drawn where timeLabelX says: blue text right of the row, and none
// at the place every sixtieth row where it once stood.
TEST(TimeOfDayLabels, AreDrawnAtTheirRows) {
    TrendPage page = pageWithAGap(-1, 0);
    page.rowCount = 0;  // no curves in the way
    const QImage img = onScreen(page);
    const auto blueIn = [&](int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 322; y < TrendPlotPainter::kHeight; ++y) n += rgb(img, x, y) == 0x0000FFu;
        return n;
    };
    for (int k = 1; k < 4; ++k) {
        const int x = TrendPlotPainter::timeLabelX(k);
        EXPECT_GT(blueIn(x, x + 6), 0) << k;
        EXPECT_EQ(blueIn(x - 6, x), 0) << k;
    }
}
