#include "ui/ConsoleIcon.h"
#include "model/BlockCatalogue.h"
#include "ui/BlockIconPainter.h"
#include "ui/ConsoleGeometry.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace z5 {

ConsoleIcon::ConsoleIcon(int iconNumber, QWidget *parent) : QWidget(parent), iconNumber_(iconNumber) {
    setObjectName(QStringLiteral("Logik_Blok_img_%1").arg(iconNumber));
    const int type = iconNumber % BlockCatalogue::kBlockTypes + 1;
    const int instance = iconNumber / BlockCatalogue::kBlockTypes + 1;
    setToolTip(QStringLiteral("%1 %2").arg(BlockCatalogue::mnemonic(type)).arg(instance));
    resize(twips::px(twips::kIconSize), twips::px(twips::kIconSize));
    setCursor(Qt::PointingHandCursor);
    // Reached by the keyboard too: the grid keeps one icon in the Tab chain and
    // the arrow keys move between icons (ConsoleCanvas).
    setFocusPolicy(Qt::ClickFocus);
    hide();
}

void ConsoleIcon::placeAt(const QPoint &cornerTwips) {
    corner_ = cornerTwips;
    move(twips::px(cornerTwips));
}

void ConsoleIcon::paintEvent(QPaintEvent *) {
    QPainter p(this);
    BlockIconPainter::paint(p, QRectF(rect()), iconNumber_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void ConsoleIcon::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // As a left click: the block's values are read.
        emit pressed(iconNumber_, Qt::LeftButton);
        return;
    case Qt::Key_Menu:
        emit pressed(iconNumber_, Qt::RightButton);
        return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            // As a right click: the block's parameter panel.
            emit pressed(iconNumber_, Qt::RightButton);
            return;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        emit stepRequested(iconNumber_, static_cast<Qt::Key>(event->key()));
        return;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

void ConsoleIcon::focusInEvent(QFocusEvent *event) {
    update();
    QWidget::focusInEvent(event);
}

void ConsoleIcon::focusOutEvent(QFocusEvent *event) {
    update();
    QWidget::focusOutEvent(event);
}

void ConsoleIcon::mousePressEvent(QMouseEvent *event) {
    // The block is picked on the press, as the button goes down.
    emit pressed(iconNumber_, event->button());
    event->accept();
}

void ConsoleIcon::mouseReleaseEvent(QMouseEvent *event) { event->accept(); }

} // namespace z5
