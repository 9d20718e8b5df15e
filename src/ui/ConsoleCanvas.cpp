#include "ui/ConsoleCanvas.h"
#include "import/ConsoleLayout.h"
#include "ui/ConsoleGeometry.h"
#include "ui/ConsoleIcon.h"
#include "ui/ProcessPictureWidget.h"
#include <QFrame>
#include <QPainter>
#include <QScrollArea>
#include <cstdlib>
#include <utility>

namespace z5 {

ConsoleCanvas::ConsoleCanvas(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("consoleCanvas"));
    for (int n = 0; n < kIcons; ++n) {
        icons_[n] = new ConsoleIcon(n, this);
        connect(icons_[n], &ConsoleIcon::pressed, this, [this](int number, Qt::MouseButton button) {
            makeTabIcon(icon(number));
            emit iconPressed(number, button);
        });
        connect(icons_[n], &ConsoleIcon::stepRequested, this, &ConsoleCanvas::step);
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
    ConsoleIcon *first = nullptr;
    for (const ConsoleLayout::BlockIcon &b : layout.icons()) {
        ConsoleIcon *i = icon(b.iconNumber);
        if (!i) continue;
        i->placeAt(b.position);
        i->show();
        i->raise();
        // The grid is entered at its top left icon.
        if (!first || std::make_pair(b.position.y(), b.position.x()) <
                          std::make_pair(first->cornerTwips().y(), first->cornerTwips().x()))
            first = i;
    }
    makeTabIcon(first);
}

void ConsoleCanvas::hideIcons() {
    for (ConsoleIcon *i : icons_) i->hide();
    makeTabIcon(nullptr);
}

ConsoleIcon *ConsoleCanvas::icon(int n) const { return n >= 0 && n < kIcons ? icons_[n] : nullptr; }

ConsoleIcon *ConsoleCanvas::tabIcon() const { return tabIcon_; }

void ConsoleCanvas::makeTabIcon(ConsoleIcon *chosen) {
    if (tabIcon_ == chosen) return;
    if (tabIcon_) tabIcon_->setFocusPolicy(Qt::ClickFocus);
    tabIcon_ = chosen;
    if (tabIcon_) tabIcon_->setFocusPolicy(Qt::StrongFocus);
}

ConsoleIcon *ConsoleCanvas::neighbour(const ConsoleIcon *from, Qt::Key direction) const {
    if (!from) return nullptr;
    const QPoint origin = from->geometry().center();
    ConsoleIcon *best = nullptr;
    long long bestScore = 0;
    for (ConsoleIcon *candidate : icons_) {
        if (candidate == from || candidate->isHidden()) continue;
        const QPoint d = candidate->geometry().center() - origin;
        // Ahead in the key's direction, and how far off its line.
        int ahead = 0;
        int aside = 0;
        switch (direction) {
        case Qt::Key_Left: ahead = -d.x(); aside = d.y(); break;
        case Qt::Key_Right: ahead = d.x(); aside = d.y(); break;
        case Qt::Key_Up: ahead = -d.y(); aside = d.x(); break;
        case Qt::Key_Down: ahead = d.y(); aside = d.x(); break;
        default: return nullptr;
        }
        if (ahead <= 0) continue;
        // The same row or column first, then the nearest.
        const long long score = static_cast<long long>(ahead) + 4LL * std::abs(aside);
        if (!best || score < bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

void ConsoleCanvas::step(int iconNumber, Qt::Key direction) {
    ConsoleIcon *next = neighbour(icon(iconNumber), direction);
    if (!next) return;
    makeTabIcon(next);
    next->setFocus(Qt::OtherFocusReason);
    // On a small screen the grid scrolls to the icon stepped to.
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *area = qobject_cast<QScrollArea *>(w)) {
            area->ensureWidgetVisible(next);
            break;
        }
}

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
