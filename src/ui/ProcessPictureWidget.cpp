#include "ui/ProcessPictureWidget.h"
#include "ui/ConsoleGeometry.h"
#include <QMouseEvent>
#include <QPainter>

namespace z5 {

ProcessPictureWidget::ProcessPictureWidget(Kind kind, QWidget *parent) : QWidget(parent), kind_(kind) {
    setObjectName(kind == Kind::Pause ? QStringLiteral("Picture_PAUSE_PROCESS") : QStringLiteral("Picture_RABOTA_PROCESS"));
    setToolTip(kind == Kind::Pause ? QStringLiteral("Пауза процесса Z5") : QStringLiteral("Пуск процесса Z5"));
    resize(twips::px(twips::kIconSize), twips::px(twips::kIconSize));
    setCursor(Qt::PointingHandCursor);
    hide();
}

void ProcessPictureWidget::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF a = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.0));
    p.setBrush(kind_ == Kind::Pause ? QColor(0xFF, 0xE0, 0x70) : QColor(0x8C, 0xE0, 0x8C));
    p.drawEllipse(a);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    const qreal w = a.width(), h = a.height();
    if (kind_ == Kind::Pause) {
        p.drawRect(QRectF(a.left() + w * 0.32, a.top() + h * 0.28, w * 0.12, h * 0.44));
        p.drawRect(QRectF(a.left() + w * 0.56, a.top() + h * 0.28, w * 0.12, h * 0.44));
    } else {
        const QPointF tri[] = {{a.left() + w * 0.38, a.top() + h * 0.26},
                               {a.left() + w * 0.38, a.top() + h * 0.74},
                               {a.left() + w * 0.74, a.top() + h * 0.5}};
        p.drawPolygon(tri, 3);
    }
}

void ProcessPictureWidget::mousePressEvent(QMouseEvent *event) {
    emit clicked();
    event->accept();
}

void ProcessPictureWidget::mouseReleaseEvent(QMouseEvent *event) { event->accept(); }

} // namespace z5
