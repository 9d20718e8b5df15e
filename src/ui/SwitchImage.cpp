#include "ui/SwitchImage.h"
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace z5 {

SwitchImage::SwitchImage(bool on, int index, QWidget *parent) : QWidget(parent), on_(on), index_(index) {
    setObjectName((on ? QStringLiteral("Image1_TUMBLER_ON_%1") : QStringLiteral("Image_TUMBLER_OFF_%1")).arg(index));
    setCursor(Qt::PointingHandCursor);
    setToolTip(on ? QStringLiteral("Включено") : QStringLiteral("Выключено"));
}

void SwitchImage::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    // A round plate with a lever pointing up (on) or down (off).
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(QColor(0xB8, 0xB8, 0xB8));
    p.drawRoundedRect(r, 3, 3);
    const QPointF centre = r.center();
    const qreal d = std::min(r.width(), r.height()) * 0.34;
    p.setBrush(QColor(0x70, 0x70, 0x70));
    p.drawEllipse(centre, d, d);
    const QPointF tip(centre.x(), on_ ? r.top() + 2 : r.bottom() - 2);
    p.setPen(QPen(on_ ? QColor(0x20, 0x90, 0x20) : QColor(0x30, 0x30, 0x30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, tip);
}

void SwitchImage::mousePressEvent(QMouseEvent *event) {
    emit clicked(index_);
    event->accept();
}

} // namespace z5
