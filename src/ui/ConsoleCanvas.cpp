#include "ui/ConsoleCanvas.h"
#include "import/ConsoleLayout.h"
#include "ui/ConsoleGeometry.h"
#include "ui/ConsoleIcon.h"
#include "ui/ProcessPictureWidget.h"
#include <QFrame>
#include <QPainter>

namespace z5 {

ConsoleCanvas::ConsoleCanvas(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("consoleCanvas"));
    for (int n = 0; n < kIcons; ++n) {
        icons_[n] = new ConsoleIcon(n, this);
        connect(icons_[n], &ConsoleIcon::pressed, this, &ConsoleCanvas::iconPressed);
    }
    line3_ = new QFrame(this);
    line3_->setObjectName(QStringLiteral("Line3"));
    line3_->setFrameShape(QFrame::NoFrame);
    line3_->setAutoFillBackground(true);
    QPalette pal = line3_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    line3_->setPalette(pal);
    line3_->hide();

    pause_ = new ProcessPictureWidget(ProcessPictureWidget::Kind::Pause, this);
    run_ = new ProcessPictureWidget(ProcessPictureWidget::Kind::Run, this);
    for (ProcessPictureWidget *w : {pause_, run_}) {
        w->move(twips::px(ConsoleLayout::processIndicatorPosition()));
        connect(w, &ProcessPictureWidget::clicked, this, &ConsoleCanvas::processPictureClicked);
    }
}

void ConsoleCanvas::clearDrawing() {
    slotNumbers_.clear();
    priorityLabels_.clear();
    update();
}

void ConsoleCanvas::printSlotNumbers(bool fromSchemaCommand) {
    slotNumbers_.clear();
    for (int c = 0; c < ConsoleLayout::kSlotCount; ++c)
        slotNumbers_.push_back(
            {ConsoleLayout::slotNumberText(c), ConsoleLayout::slotNumberPosition(c, fromSchemaCommand)});
    update();
}

void ConsoleCanvas::printPriorityLabels(std::vector<Label> labels) {
    priorityLabels_ = std::move(labels);
    update();
}

void ConsoleCanvas::placeIcons(const ConsoleLayout &layout) {
    hideIcons();
    for (const ConsoleLayout::BlockIcon &b : layout.icons()) {
        ConsoleIcon *i = icon(b.iconNumber);
        if (!i) continue;
        i->placeAt(b.position);
        i->show();
        i->raise();
    }
}

void ConsoleCanvas::hideIcons() {
    for (ConsoleIcon *i : icons_) i->hide();
}

ConsoleIcon *ConsoleCanvas::icon(int n) const { return n >= 0 && n < kIcons ? icons_[n] : nullptr; }

void ConsoleCanvas::placeCursor(const QPoint &corner) {
    const QPoint from = twips::px(corner + QPoint(0, twips::kCursorOffset));
    line3_->setGeometry(from.x(), from.y(), twips::px(twips::kIconSize), 2);
    line3_->show();
    line3_->raise();
}

void ConsoleCanvas::setCursorVisible(bool visible) { line3_->setVisible(visible); }

void ConsoleCanvas::toggleCursor() { line3_->setVisible(!line3_->isVisible()); }

void ConsoleCanvas::showProcessPicture(bool pause) {
    pause_->setVisible(pause);
    run_->setVisible(!pause);
}

void ConsoleCanvas::hideProcessPictures() {
    pause_->hide();
    run_->hide();
}

void ConsoleCanvas::printLabels(QPainter &p, const std::vector<Label> &labels, const QColor &colour) {
    p.setPen(colour);
    const int ascent = p.fontMetrics().ascent();
    for (const Label &l : labels) {
        const QPoint at = twips::px(l.position);
        p.drawText(at.x(), at.y() + ascent, l.text);
    }
}

void ConsoleCanvas::paintEvent(QPaintEvent *) {
    QPainter p(this);
    QFont small = font();
    small.setPointSize(ConsoleLayout::kLabelFontSize);
    p.setFont(small);
    printLabels(p, slotNumbers_, Qt::blue);
    printLabels(p, priorityLabels_, Qt::black);
}

} // namespace z5
