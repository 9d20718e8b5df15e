#include "ui/PanelPictureWidget.h"
#include "console/PanelKeys.h"
#include "ui/SwitchImage.h"
#include <QMouseEvent>
#include <QPainter>

namespace z5 {
namespace {

QColor colourOf(PanelFace::Colour c) {
    switch (c) {
    case PanelFace::Colour::Red: return QColor(255, 0, 0);
    case PanelFace::Colour::DarkRed: return QColor(128, 0, 0);
    case PanelFace::Colour::Green: return QColor(0, 255, 0);
    case PanelFace::Colour::DarkGreen: return QColor(0, 8, 0);
    case PanelFace::Colour::Yellow: return QColor(255, 255, 0);
    case PanelFace::Colour::Black: break;
    }
    return QColor(0, 0, 0);
}

} // namespace

PanelPictureWidget::PanelPictureWidget(int layout, QWidget *parent) : QWidget(parent), layout_(layout) {
    setObjectName(QStringLiteral("Picture_PANEL_%1").arg(layout + 1));
    setFixedSize(qRound(PanelKeys::kWidth * kScale), qRound(PanelKeys::kHeight * kScale));
    setMouseTracking(true);
    if (layout_ == 2) {
        for (int i = 0; i < PanelKeys::kSwitches; ++i) {
            const QRect r = PanelKeys::switchRect(i);
            const QRect place(toWidget(r.topLeft()), toWidget(r.bottomRight()));
            on_[i] = new SwitchImage(true, i, this);
            off_[i] = new SwitchImage(false, i, this);
            for (SwitchImage *s : {on_[i], off_[i]}) {
                s->setGeometry(place);
                connect(s, &SwitchImage::clicked, this, &PanelPictureWidget::switchClicked);
            }
            on_[i]->hide();
        }
    }
    hide();
}

SwitchImage *PanelPictureWidget::switchUp(int i) const {
    return i >= 0 && i < PanelKeys::kSwitches ? on_[i] : nullptr;
}

SwitchImage *PanelPictureWidget::switchDown(int i) const {
    return i >= 0 && i < PanelKeys::kSwitches ? off_[i] : nullptr;
}

void PanelPictureWidget::setSwitch(int i, bool on) {
    if (!switchUp(i) || !off_[i]) return;
    on_[i]->setVisible(on);
    off_[i]->setVisible(!on);
    update();
}

void PanelPictureWidget::setFace(const PanelFace &face) {
    face_ = face;
    update();
}

void PanelPictureWidget::clearFace() { setFace(PanelFace{}); }

void PanelPictureWidget::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(kScale, kScale);
    // The panel plate.
    p.setPen(QPen(QColor(0x50, 0x50, 0x58), 1));
    p.setBrush(QColor(0xC8, 0xCC, 0xD4));
    p.drawRect(QRectF(0.5, 0.5, PanelKeys::kWidth - 1, PanelKeys::kHeight - 1));
    const QRect display = PanelFace::displayArea(layout_);
    if (!display.isEmpty()) {
        p.setBrush(layout_ == 3 ? QColor(0x10, 0x20, 0x30) : QColor(0xE8, 0xF0, 0xD8));
        p.drawRect(display);
    }
    // Empty lamp sockets; a reply lights them.
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    for (const QPoint &s : PanelFace::lampSockets(layout_)) p.drawEllipse(QPointF(s), 4.0, 4.0);
    paintKeys(p);
    paintLampsAndValues(p);
}

void PanelPictureWidget::paintKeys(QPainter &p) const {
    QFont f = p.font();
    f.setPixelSize(9);
    p.setFont(f);
    // A key the picture would not send now is drawn greyed.
    std::array<bool, PanelKeys::kSwitches> switchOn{};
    for (int i = 0; i < PanelKeys::kSwitches; ++i) switchOn[i] = on_[i] && !on_[i]->isHidden();
    for (int key : PanelKeys::drawnKeys(layout_)) {
        const QRect r = PanelKeys::keyRect(key);
        const bool usable = PanelKeys::accepts(layout_, key, switchOn);
        const bool hot = key == keyUnderMouse_ && usable;
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
        p.setBrush(hot ? QColor(0xF4, 0xF4, 0xFF) : usable ? QColor(0xE6, 0xE6, 0xE6) : QColor(0xB0, 0xB0, 0xB0));
        p.drawRoundedRect(QRectF(r), 3, 3);
        p.drawText(r, Qt::AlignCenter, QString::number(key));
    }
}

void PanelPictureWidget::paintLampsAndValues(QPainter &p) const {
    for (const PanelFace::Lamp &lamp : face_.lamps()) {
        p.setPen(QPen(colourOf(lamp.colour), PanelFace::kLampPenWidth));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(lamp.centre), lamp.radius, lamp.radius);
    }
    QFont f = p.font();
    f.setPixelSize(10);
    p.setFont(f);
    const QFontMetrics m(f);
    for (const PanelFace::Print &print : face_.prints()) {
        p.setPen(colourOf(print.colour));
        p.drawText(QPoint(print.topLeft.x(), print.topLeft.y() + m.ascent()), print.text);
    }
}

void PanelPictureWidget::mouseMoveEvent(QMouseEvent *event) {
    const QPointF at = toPicture(event->position());
    const int key = PanelKeys::keyAt(at.x(), at.y());
    if (key != keyUnderMouse_) {
        keyUnderMouse_ = key;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void PanelPictureWidget::leaveEvent(QEvent *event) {
    keyUnderMouse_ = PanelKeys::kNoKey;
    update();
    QWidget::leaveEvent(event);
}

void PanelPictureWidget::mousePressEvent(QMouseEvent *event) {
    emit clickedAt(toPicture(event->position()));
    event->accept();
}

} // namespace z5
