#include "ui/HistoryPlotWidget.h"
#include "trends/ArchiveHistory.h"
#include "trends/HistoryPlotPainter.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace z5 {

HistoryPlotWidget::HistoryPlotWidget(const ArchiveHistory &history, const TrendChannels &channels, QWidget *parent)
    : QWidget(parent), history_(history), channels_(channels) {
    setObjectName(QStringLiteral("historyPlot"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(QStringLiteral("Колесо — масштаб, Shift+колесо и стрелки — сдвиг, + и − — масштаб"));
}

QSize HistoryPlotWidget::sizeHint() const { return {640, 360}; }
QSize HistoryPlotWidget::minimumSizeHint() const { return {320, 200}; }

void HistoryPlotWidget::setGroup(int group) {
    group_ = group;
    update();
}

void HistoryPlotWidget::viewChanged() {
    update();
    emit shownRangeChanged();
}

void HistoryPlotWidget::zoomIn() {
    view_.zoomIn();
    viewChanged();
}

void HistoryPlotWidget::zoomOut() {
    view_.zoomOut();
    viewChanged();
}

void HistoryPlotWidget::scrollBy(double spans) {
    view_.scroll(spans);
    viewChanged();
}

void HistoryPlotWidget::showFirst() {
    if (history_.isEmpty()) return;
    view_.show(history_.secondsAt(0), history_.secondsAt(0) + view_.span());
    viewChanged();
}

void HistoryPlotWidget::showLast() {
    if (history_.isEmpty()) return;
    const qint64 last = history_.secondsAt(history_.rowCount() - 1);
    view_.show(last - view_.span(), last);
    viewChanged();
}

void HistoryPlotWidget::paintEvent(QPaintEvent *) {
    QPainter p(this);
    HistoryPlotPainter::draw(p, QRectF(rect()), history_, view_, group_, channels_);
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 1, Qt::DashLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void HistoryPlotWidget::wheelEvent(QWheelEvent *event) {
    const QPoint delta = event->angleDelta();
    const QRectF area = HistoryPlotPainter::plotArea(QRectF(rect()));
    if (delta.x() != 0 || (event->modifiers() & Qt::ShiftModifier)) {
        const int steps = delta.x() != 0 ? delta.x() : delta.y();
        view_.scroll(-HistoryView::kScrollStep * steps / 120.0);
    } else if (delta.y() != 0) {
        const double fraction = (event->position().x() - area.left()) / area.width();
        const double factor = std::pow(HistoryView::kZoomStep, delta.y() / 120.0);
        view_.zoom(factor, fraction);
    }
    viewChanged();
    event->accept();
}

void HistoryPlotWidget::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Left: scrollBy(-HistoryView::kScrollStep); break;
    case Qt::Key_Right: scrollBy(HistoryView::kScrollStep); break;
    case Qt::Key_PageUp: scrollBy(-1); break;
    case Qt::Key_PageDown: scrollBy(1); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomIn(); break;
    case Qt::Key_Minus: zoomOut(); break;
    case Qt::Key_Home: showFirst(); break;
    case Qt::Key_End: showLast(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void HistoryPlotWidget::mouseMoveEvent(QMouseEvent *event) {
    const QRectF area = HistoryPlotPainter::plotArea(QRectF(rect()));
    if (!area.contains(event->position())) {
        emit timeHovered(-1);
        return;
    }
    emit timeHovered(view_.timeAt(event->position().x() - area.left(), area.width()));
}

void HistoryPlotWidget::leaveEvent(QEvent *) { emit timeHovered(-1); }

} // namespace z5
