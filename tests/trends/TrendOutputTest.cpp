// The drawn plot, the printout and the workbook, read back as a user would see them.
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include "trends/TrendPlotPainter.h"
#include "trends/TrendPrintout.h"
#include "trends/TrendWorkbook.h"
#include "WorkbookCells.h"
#include "DatedPages.h"
#include "trends/ArchiveHistory.h"
#include "trends/HistoryPlotPainter.h"
#include "trends/HistoryView.h"
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

using namespace z5;
using z5::test::readSheet;
using z5::test::Sheet;

namespace {

TrendChannels scaledChannels() {
    TrendChannels ch;
    for (int c = 0; c < 32; ++c) {
        ch.scales[c] = {0.0f, 100.0f};
        ch.names[c] = QStringLiteral("Канал %1").arg(c + 1);
    }
    ch.title = QStringLiteral("Котёл 1");
    return ch;
}

TrendPage levelPage(float value, int rows) {
    TrendPage p;
    p.rowCount = rows;
    p.pageNumber = 4;
    p.time = {6, 12, 26, 14, 5, 0, 14, 15, 0, 14, 25, 0, 14, 35, 0};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 32; ++c) p.setSample(r, c, value);
    return p;
}

QImage plot(const TrendPage &page, int group, const TrendChannels &ch) {
    QImage img(TrendPlotPainter::size(), QImage::Format_RGB32);
    QPainter p(&img);
    TrendPlotPainter::draw(p, page, group, ch);
    return img;
}

QRgb rgbAt(const QImage &img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

} // namespace

TEST(TrendPlot, FramePartsAndCurvesAtTheirPixels) {
    const TrendChannels ch = scaledChannels();
    const QImage img = plot(levelPage(50.0f, 240), 0, ch);
    EXPECT_EQ(rgbAt(img, 100, 220), 0x0000FFu) << "zero line";
    EXPECT_EQ(rgbAt(img, 58, 20), 0xFF0000u) << "100 % dots are red";
    EXPECT_EQ(rgbAt(img, 68, 320), 0x00FF00u) << "-50 % dots are green";
    EXPECT_EQ(rgbAt(img, 158, 30), 0x0000FFu) << "time mark";
    // All four curves lie on 50 %; the group's last channel is drawn last.
    EXPECT_EQ(rgbAt(img, 301, 120), 0x00FFFFu);
    EXPECT_EQ(rgbAt(img, 301, 150), 0xFFFFFFu);
}

// A partly recorded page ends where its rows end, instead of dropping to 0 %.
TEST(TrendPlot, PartlyRecordedPageStopsAtItsLastValidRow) {
    const TrendChannels ch = scaledChannels();
    TrendPage page = levelPage(50.0f, 40);
    const QImage img = plot(page, 1, ch);
    EXPECT_EQ(rgbAt(img, int(TrendPlotPainter::rowX(38)) + 1, 120), 0x00FFFFu);
    for (int y = 121; y < 220; ++y) ASSERT_EQ(rgbAt(img, int(TrendPlotPainter::rowX(39)) + 1, y), 0xFFFFFFu) << y;

    int segments = 0;
    TrendPlotPainter::forEachSegment(page, 1, [&](int r, int) { segments += r >= 0; });
    EXPECT_EQ(segments, 39 * 4);
    page.setSample(10, 6, TrendPage::kMissingLimit);
    int lastRow = -1;
    TrendPlotPainter::forEachSegment(page, 1, [&](int r, int c) {
        if (c == 6) lastRow = std::max(lastRow, r);
    });
    EXPECT_EQ(lastRow, 8) << "a missing sample ends its own channel's curve before it";
    page.setSample(0, 4, TrendPage::kMissingLimit);
    segments = 0;
    TrendPlotPainter::forEachSegment(page, 1, [&](int, int c) { segments += c == 5 || c == 7; });
    EXPECT_EQ(segments, 2 * 39) << "the other channels go on to the last valid row";
}

TEST(TrendPrint, FrameZeroLineCurveAndLegendColours) {
    const TrendChannels ch = scaledChannels();
    QImage img(1700, 1100, QImage::Format_RGB32);   // 100 twips a pixel at 144 dpi
    img.setDotsPerMeterX(int(144 / 0.0254));
    img.setDotsPerMeterY(int(144 / 0.0254));
    img.fill(Qt::white);
    {
        QPainter p(&img);
        TrendPrintout::paint(p, img, levelPage(50.0f, 240), 2, ch);
    }
    const double s = TrendPrintout::scaleFor(img);
    ASSERT_NEAR(s, 0.1, 1e-9);
    const auto at = [&](int xt, int yt) { return rgbAt(img, int(xt * s), int(yt * s)); };
    EXPECT_EQ(at(1000, 5000), 0x00FF00u) << "frame";
    EXPECT_EQ(at(3000, 8875), 0x0000FFu) << "zero line";
    EXPECT_EQ(at(3000, 1290), 0xFF0000u) << "100 % line";
    // 50 % is 3800 twips above the zero line; channel 11 (cyan) is drawn last.
    EXPECT_EQ(at(5000, 8875 - 3800), 0x00FFFFu);
    // The legend lines of channels 8..11 in red, green, yellow and cyan.
    const unsigned legend[4] = {0xFF0000u, 0x00FF00u, 0xFFFF00u, 0x00FFFFu};
    const int lineTwips = 200 * 12 / 10 + 100;
    for (int k = 0; k < 4; ++k) {
        bool found = false;
        for (int x = 1500; x < 1700 && !found; ++x)
            for (int y = int((1200 + k * lineTwips) * s); y < int((1200 + k * lineTwips + 200) * s) && !found; ++y)
                found = rgbAt(img, x, y) == legend[k];
        EXPECT_TRUE(found) << "legend line " << k;
    }
}

TEST(TrendExportValue, CutNotRounded) {
    EXPECT_DOUBLE_EQ(TrendWorkbook::exportValue(12.3456f, 2), 12.34);
    EXPECT_DOUBLE_EQ(TrendWorkbook::exportValue(-12.3456f, 2), -12.34);
    EXPECT_DOUBLE_EQ(TrendWorkbook::exportValue(99.99f, 0), 99.0);
    EXPECT_DOUBLE_EQ(TrendWorkbook::exportValue(0.29f, 2), 0.28) << "the single-precision 0.29 is just below";
    EXPECT_DOUBLE_EQ(TrendWorkbook::exportValue(1.5f, 7), 1.5) << "precision out of range is clamped";
}

TEST(TrendWorkbookFile, CellsWidthsAndStylesReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.xlsx"));
    TrendPage page = levelPage(1.0f, 240);
    page.setSample(0, 0, 12.3456f);
    page.setSample(0, 31, -12.3456f);
    page.setSample(239, 0, 7.777f);
    page.setSample(5, 3, TrendPage::kMissingLimit);
    TrendChannels ch = scaledChannels();
    ch.names[4] = QStringLiteral("=1+1");
    QString error;
    ASSERT_TRUE(TrendWorkbook::write(path, page, ch, 2, &error)) << error.toStdString();
    const Sheet s = readSheet(path);
    EXPECT_EQ(s.value.value("A1"), QStringLiteral("Котёл 1"));
    EXPECT_EQ(s.value.value("A2"), QStringLiteral("Дата              Время"));
    EXPECT_EQ(s.value.value("B2"), QStringLiteral("Параметр 1"));
    EXPECT_EQ(s.value.value("W2"), QStringLiteral("Параметр 22"));
    EXPECT_EQ(s.value.value("AG2"), QStringLiteral("Параметр 32"));
    EXPECT_EQ(s.value.value("B3"), QStringLiteral("Канал 1"));
    EXPECT_EQ(s.value.value("F3"), QStringLiteral("=1+1")) << "a name is text, never a formula";
    EXPECT_EQ(s.value.value("AG3"), QStringLiteral("Канал 32"));
    EXPECT_EQ(s.value.value("A4"), QStringLiteral("6 / 12 / 26       14 : 5 : 0"));
    EXPECT_EQ(s.value.value("A60"), QStringLiteral("6 / 12 / 26       14 : 15 : 0"));
    EXPECT_EQ(s.value.value("A116"), QStringLiteral("6 / 12 / 26       14 : 25 : 0"));
    EXPECT_EQ(s.value.value("A188"), QStringLiteral("6 / 12 / 26       14 : 35 : 0"));
    for (const char *cell : {"A64", "A124", "A184"}) EXPECT_FALSE(s.value.contains(cell)) << cell;
    EXPECT_EQ(s.value.value("B4").toDouble(), 12.34);
    EXPECT_EQ(s.value.value("AG4").toDouble(), -12.34);
    EXPECT_EQ(s.value.value("B243").toDouble(), 7.77) << "the last row is exported too";
    EXPECT_FALSE(s.value.contains("E9")) << "a missing sample is an empty cell";
    EXPECT_FALSE(s.value.contains("B244"));
    EXPECT_FALSE(s.sheetXml.contains("<f>"));
    EXPECT_TRUE(s.sheetXml.contains(R"(<col min="1" max="1" width="27.7109375")"));
    EXPECT_TRUE(s.sheetXml.contains(R"(<col min="2" max="33" width="15.7109375")"));
    // Fonts: blue bold title, red headings, dark green bold names, blue bold times.
    EXPECT_TRUE(s.stylesXml.contains(R"(<b/><sz val="11"/><color rgb="FF0000FF"/>)"));
    EXPECT_TRUE(s.stylesXml.contains(R"(<sz val="11"/><color rgb="FFFF0000"/>)"));
    EXPECT_TRUE(s.stylesXml.contains(R"(<b/><sz val="11"/><color rgb="FF008000"/>)"));
    EXPECT_TRUE(s.stylesXml.contains(R"(<left style="medium">)"));
    EXPECT_TRUE(s.stylesXml.contains(R"(<alignment horizontal="center"/>)"));
    EXPECT_NE(s.style.value("A1"), s.style.value("A2"));
    EXPECT_NE(s.style.value("A2"), s.style.value("A3"));
    EXPECT_EQ(s.style.value("A3"), s.style.value("AG3"));
}

TEST(TrendWorkbookFile, RowsAfterTheValidOnesAreEmpty) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("part.xlsx"));
    ASSERT_TRUE(TrendWorkbook::write(path, levelPage(3.0f, 40), scaledChannels(), 0));
    const Sheet s = readSheet(path);
    EXPECT_EQ(s.value.value("B43"), QStringLiteral("3"));
    EXPECT_FALSE(s.value.contains("B44"));
    EXPECT_FALSE(s.value.contains("AG243"));
}

TEST(TrendWorkbookFile, FailedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked/page.xlsx"));
    EXPECT_FALSE(TrendWorkbook::write(path, levelPage(1.0f, 240), scaledChannels(), 0)) << "no such folder";
    const QString existing = dir.filePath(QStringLiteral("kept.xlsx"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    // A file size limit fails the write halfway even for root, whom folder
    // permissions would not stop.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 2048;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = TrendWorkbook::write(existing, levelPage(1.0f, 240), scaledChannels(), 0);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

TEST(HistoryWorkbookFile, OneSheetRowPerHistoryRowWithItsDateAndTime) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.xlsx"));
    ArchivedPage three = z5::testing::datedPage(3, z5::testing::at("2026-12-06T23:59:50"), 10, 3);
    three.page.setSample(1, 0, TrendPage::kMissingLimit);
    const ArchiveHistory history =
        ArchiveHistory::fromPages({three, z5::testing::datedPage(4, z5::testing::at("2026-12-07T01:00:00"), 10, 1)});
    ASSERT_TRUE(TrendWorkbook::write(path, history, scaledChannels(), 2));
    const Sheet s = readSheet(path);
    EXPECT_EQ(s.value.value("A1"), QStringLiteral("Котёл 1"));
    EXPECT_EQ(s.value.value("A2"), QStringLiteral("Дата              Время"));
    EXPECT_EQ(s.value.value("AG2"), QStringLiteral("Параметр 32"));
    EXPECT_EQ(s.value.value("B3"), QStringLiteral("Канал 1"));
    EXPECT_EQ(s.value.value("A4"), QStringLiteral("2026-12-06 23:59:50"));
    EXPECT_EQ(s.value.value("A5"), QStringLiteral("2026-12-07 00:00:00")) << "across midnight";
    EXPECT_EQ(s.value.value("A7"), QStringLiteral("2026-12-07 01:00:00")) << "the next page's row follows, none made up";
    EXPECT_EQ(s.value.value("C4").toDouble(), 3000.01);
    EXPECT_EQ(s.value.value("AG7").toDouble(), 4000.31);
    EXPECT_FALSE(s.value.contains("B5")) << "a missing sample is an empty cell";
    EXPECT_FALSE(s.value.contains("A8"));
    EXPECT_NE(s.style.value("A4"), s.style.value("B4"));
}

TEST(HistoryPlot, CurvesBreakAtGapsAndMissingSamplesAndKeepTheirExtremesWhenRowsCrowd) {
    TrendChannels ch;
    ch.scales[0] = {0.0f, 10000.0f};
    const QRectF area = HistoryPlotPainter::plotArea(QRectF(0, 0, 1040, 536));
    const auto runs = [&](const ArchiveHistory &h, qint64 from, qint64 to) {
        HistoryView view;
        view.show(from, to);
        std::vector<QVector<QPointF>> found;
        HistoryPlotPainter::forEachRun(h, view, 0, ch, area, [&](const QVector<QPointF> &points) { found.push_back(points); });
        return found;
    };
    using z5::testing::at;
    using z5::testing::datedPage;
    ArchivedPage three = datedPage(3, at("2026-12-06T10:00:00"), 10, 240);
    const ArchivedPage four = datedPage(4, at("2026-12-06T10:40:00"), 10, 240);
    const ArchivedPage later = datedPage(5, at("2026-12-06T14:00:00"), 10, 240);
    const qint64 from = at("2026-12-06T10:00:00").toSecsSinceEpoch();
    EXPECT_EQ(runs(ArchiveHistory::fromPages({three, four, later}), from, from + 6 * 3600).size(), 2u) << "one gap";
    three.page.setSample(100, 0, TrendPage::kMissingLimit);
    const std::vector<QVector<QPointF>> broken = runs(ArchiveHistory::fromPages({three, four, later}), from, from + 6 * 3600);
    ASSERT_EQ(broken.size(), 3u) << "and a missing sample";
    EXPECT_LT(broken[0].back().x(), broken[1].front().x());
    // Twenty rows to a pixel column: few points, the highest and lowest rows still among them.
    std::vector<ArchivedPage> week;
    for (int p = 0; p < 250; ++p) week.push_back(datedPage(1 + p % 8, at("2026-12-01T00:00:00").addSecs(p * 2400), 10, 240));
    const ArchiveHistory h = ArchiveHistory::fromPages(week);
    const std::vector<QVector<QPointF>> crowded = runs(h, h.secondsAt(0), h.secondsAt(h.rowCount() - 1));
    ASSERT_EQ(crowded.size(), 1u);
    EXPECT_LE(crowded[0].size(), 4 * int(area.width()) + 8);
    double top = area.bottom(), bottom = area.top();
    for (const QPointF &pt : crowded[0]) {
        top = std::min(top, pt.y());
        bottom = std::max(bottom, pt.y());
    }
    EXPECT_DOUBLE_EQ(top, HistoryPlotPainter::percentY(ch.percent(z5::testing::datedSample(8, 239, 0), 0), area));
    EXPECT_DOUBLE_EQ(bottom, HistoryPlotPainter::percentY(ch.percent(z5::testing::datedSample(1, 0, 0), 0), area));
}
