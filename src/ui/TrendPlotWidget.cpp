#include "ui/TrendPlotWidget.h"
#include "trends/TrendPlotPainter.h"
#include "trends/TrendSession.h"
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace z5 {

TrendPlotWidget::TrendPlotWidget(const TrendSession &session, QWidget *parent) : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("Picture_GRAFIK"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    const char *texts[4] = {"100%", "50%", "0%", "100%"};
    for (int k = 0; k < 4; ++k) {
        labels_[k] = new QLabel(QString::fromLatin1(texts[k]), this);
        labels_[k]->setObjectName(QStringLiteral("Label%1").arg(k + 1));
        labels_[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

QSize TrendPlotWidget::sizeHint() const { return QSize(kLabelWidth + TrendPlotPainter::kWidth, TrendPlotPainter::kHeight); }

// The plot keeps its proportions at any size: smaller, the window fits 1024 x 768 at 125 %.
QSize TrendPlotWidget::minimumSizeHint() const {
    return QSize(kLabelWidth + TrendPlotPainter::kWidth * 3 / 4, TrendPlotPainter::kHeight * 3 / 4);
}

QRectF TrendPlotWidget::plotRect() const {
    // Kept in proportion, centred in the space right of the labels.
    const double w = width() - kLabelWidth, h = height();
    const double scale = std::min(w / TrendPlotPainter::kWidth, h / TrendPlotPainter::kHeight);
    const QSizeF size(TrendPlotPainter::kWidth * scale, TrendPlotPainter::kHeight * scale);
    return QRectF(QPointF(kLabelWidth + (w - size.width()) / 2, (h - size.height()) / 2), size);
}

int TrendPlotWidget::rowAt(const QPointF &pos) const {
    const QRectF r = plotRect();
    if (!r.contains(pos) || !session_.hasPage()) return -1;
    const double x = (pos.x() - r.left()) * TrendPlotPainter::kWidth / r.width();
    return TrendPlotPainter::rowAt(x);
}

void TrendPlotWidget::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRectF r = plotRect();
    p.translate(r.topLeft());
    p.scale(r.width() / TrendPlotPainter::kWidth, r.height() / TrendPlotPainter::kHeight);
    TrendPlotPainter::draw(p, session_.page(), session_.group(), session_.channels());
}

void TrendPlotWidget::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    placeLabels();
}

void TrendPlotWidget::placeLabels() {
    const QRectF r = plotRect();
    const int levels[4] = {20, 120, 220, 320};
    for (int k = 0; k < 4; ++k) {
        const double y = r.top() + levels[k] * r.height() / TrendPlotPainter::kHeight;
        labels_[k]->setGeometry(0, int(y) - 8, int(r.left()) - 2, 16);
    }
}

void TrendPlotWidget::mouseMoveEvent(QMouseEvent *event) {
    emit rowHovered(rowAt(event->position()));
    QWidget::mouseMoveEvent(event);
}

void TrendPlotWidget::leaveEvent(QEvent *event) {
    emit rowHovered(-1);
    QWidget::leaveEvent(event);
}

} // namespace z5
