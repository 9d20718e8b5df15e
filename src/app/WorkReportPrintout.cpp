#include "app/WorkReportPrintout.h"
#include "app/WorkReport.h"
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace z5 {
namespace {

constexpr double kBodyPoints = 8.5;
constexpr double kTitlePoints = 12;

class Sheets {
public:
    Sheets(QPainter &painter, QPagedPaintDevice &device, const WorkReport &report)
        : painter_(painter), device_(device), report_(report) {
        body_ = painter.font();
        body_.setPointSizeF(kBodyPoints);
        bold_ = body_;
        bold_.setBold(true);
        title_ = bold_;
        title_.setPointSizeF(kTitlePoints);
        width_ = device.width();
        height_ = device.height();
        pad_ = QFontMetricsF(body_, &device).averageCharWidth() / 2;
        double x = 0;
        for (int share : WorkReportPrintout::kColumnShares) {
            lefts_.push_back(x);
            x += width_ * share / 1000.0;
        }
        lefts_.push_back(width_);
        footHeight_ = QFontMetricsF(body_, &device).height() * 1.5;
    }

    int draw() {
        startSheet();
        if (report_.rowCount() == 0) {
            painter_.setFont(body_);
            painter_.drawText(QPointF(pad_, y_ + QFontMetricsF(body_, &device_).ascent()),
                              QStringLiteral("Записей в Z5 за эти дни нет."));
        }
        for (int r = 0; r < report_.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < WorkReport::ColumnCount; ++c) cells << report_.cell(r, c);
            const double h = rowHeight(cells, body_);
            if (y_ + h > bottom() && y_ > tableTop_) {
                endSheet();
                device_.newPage();
                startSheet();
            }
            drawRow(cells, body_, h);
        }
        endSheet();
        return sheet_;
    }

private:
    double bottom() const { return height_ - footHeight_; }

    QRectF cellRect(int column, double height) const {
        return QRectF(lefts_[column], y_, lefts_[column + 1] - lefts_[column], height);
    }

    double rowHeight(const QStringList &cells, const QFont &font) const {
        const QFontMetricsF metrics(font, &device_);
        double h = metrics.height();
        for (int c = 0; c < cells.size(); ++c) {
            const QRectF room = cellRect(c, 1e6).adjusted(pad_, 0, -pad_, 0);
            h = std::max(h, metrics.boundingRect(room, Qt::TextWordWrap, cells[c]).height());
        }
        return h + 2 * pad_;
    }

    void drawRow(const QStringList &cells, const QFont &font, double h) {
        painter_.setFont(font);
        for (int c = 0; c < cells.size(); ++c) {
            const QRectF rect = cellRect(c, h);
            painter_.drawRect(rect);
            painter_.drawText(rect.adjusted(pad_, pad_, -pad_, -pad_), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                              cells[c]);
        }
        y_ += h;
    }

    void startSheet() {
        ++sheet_;
        y_ = 0;
        if (sheet_ == 1) {
            painter_.setFont(title_);
            const QFontMetricsF metrics(title_, &device_);
            painter_.drawText(QPointF(0, metrics.ascent()), report_.title());
            y_ = metrics.height() * 1.5;
        }
        QStringList headings;
        for (int c = 0; c < WorkReport::ColumnCount; ++c) headings << WorkReport::heading(c);
        drawRow(headings, bold_, rowHeight(headings, bold_));
        tableTop_ = y_;
    }

    void endSheet() {
        painter_.setFont(body_);
        const QFontMetricsF metrics(body_, &device_);
        const QString foot = QStringLiteral("Лист %1").arg(sheet_);
        painter_.drawText(QPointF(width_ - metrics.horizontalAdvance(foot), height_ - metrics.descent()), foot);
    }

    QPainter &painter_;
    QPagedPaintDevice &device_;
    const WorkReport &report_;
    QFont body_, bold_, title_;
    double width_ = 0, height_ = 0, pad_ = 0, footHeight_ = 0;
    std::vector<double> lefts_;
    double y_ = 0;
    double tableTop_ = 0;
    int sheet_ = 0;
};

} // namespace

int WorkReportPrintout::paint(QPainter &painter, QPagedPaintDevice &device, const WorkReport &report) {
    return Sheets(painter, device, report).draw();
}

} // namespace z5
