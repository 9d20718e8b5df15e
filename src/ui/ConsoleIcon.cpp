#include "ui/ConsoleIcon.h"
#include "model/BlockCatalogue.h"
#include "ui/BlockIconPainter.h"
#include "ui/ConsoleGeometry.h"
#include <QMouseEvent>
#include <QPainter>

namespace z5 {

ConsoleIcon::ConsoleIcon(int iconNumber, QWidget *parent) : QWidget(parent), iconNumber_(iconNumber) {
    setObjectName(QStringLiteral("Logik_Blok_img_%1").arg(iconNumber));
    const int type = iconNumber % BlockCatalogue::kBlockTypes + 1;
    const int instance = iconNumber / BlockCatalogue::kBlockTypes + 1;
    setToolTip(QStringLiteral("%1 %2").arg(BlockCatalogue::mnemonic(type)).arg(instance));
    resize(twips::px(twips::kIconSize), twips::px(twips::kIconSize));
    setCursor(Qt::PointingHandCursor);
    hide();
}

void ConsoleIcon::placeAt(const QPoint &cornerTwips) {
    corner_ = cornerTwips;
    move(twips::px(cornerTwips));
}

void ConsoleIcon::paintEvent(QPaintEvent *) {
    QPainter p(this);
    BlockIconPainter::paint(p, QRectF(rect()), iconNumber_);
}

void ConsoleIcon::mousePressEvent(QMouseEvent *event) {
    // The block is picked on the press, as the button goes down.
    emit pressed(iconNumber_, event->button());
    event->accept();
}

void ConsoleIcon::mouseReleaseEvent(QMouseEvent *event) { event->accept(); }

} // namespace z5
