#include "ui/ScreenPreview.h"
#include "screen/ControllerView.h"
#include "screen/ScreenEditor.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenPalette.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace z5 {

namespace {

// Sizes of the element pictures in twips, matching how far each may be dragged.
constexpr int kMarkerSide = 150;
constexpr int kLevelWidth = 150;
constexpr int kLevel1Height = 915;
constexpr int kLevel2Height = 1770;
constexpr int kGaugeSide = 1185;
constexpr int kBoxHeight = 285;

QColor paletteColour(int index) { return QColor::fromRgb(ScreenPalette::colour(index)); }

// Text must stay readable even when both colours of an element are the same
// (every new element starts black on black).
QColor readableText(int textIndex, int backIndex) {
    if (textIndex != backIndex) return paletteColour(textIndex);
    return paletteColour((~backIndex) & 7);
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(ScreenPreview::px(left), ScreenPreview::px(top), ScreenPreview::px(width),
                 ScreenPreview::px(height));
}

} // namespace

ScreenPreview::ScreenPreview(const ScreenModel &model, QWidget *parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("Picture1"));
    setFixedSize(sizeHint());
    connect(&model_, &ScreenModel::changed, this, qOverload<>(&QWidget::update));
}

void ScreenPreview::setEditor(ScreenEditor *editor) {
    editor_ = editor;
    setMouseTracking(editor != nullptr);
    setFocusPolicy(editor ? Qt::StrongFocus : Qt::NoFocus);
}

void ScreenPreview::setLikeController(bool on) {
    likeController_ = on;
    update();
}

const QImage &ScreenPreview::shownPicture() const {
    if (!likeController_ || picture_.isNull()) return picture_;
    if (reducedKey_ != picture_.cacheKey() || reducedThreshold_ != model_.colorThreshold() ||
        reducedRunLength_ != model_.isRunLength()) {
        reduced_ = ControllerView::asReceived(picture_, model_.colorThreshold(), model_.isRunLength());
        reducedKey_ = picture_.cacheKey();
        reducedThreshold_ = model_.colorThreshold();
        reducedRunLength_ = model_.isRunLength();
    }
    return reduced_;
}

QRect ScreenPreview::elementRect(ScreenElement element) const {
    if (element.isParameter()) {
        const ScadaParameter *par = model_.parameter(element.slot);
        if (!par) return {};
        switch (par->kind()) {
        case ScadaParameter::Level1: return twipsRect(par->level1Picture.left, par->level1Picture.top, kLevelWidth, kLevel1Height);
        case ScadaParameter::Level2: return twipsRect(par->level2Picture.left, par->level2Picture.top, kLevelWidth, kLevel2Height);
        case ScadaParameter::Gauge: return twipsRect(par->gaugePicture.left, par->gaugePicture.top, kGaugeSide, kGaugeSide);
        default: return twipsRect(par->numberBox.left, par->numberBox.top, model_.numberBoxWidth(), kBoxHeight);
        }
    }
    const ScadaAlarm *alarm = model_.alarm(element.slot);
    if (!alarm) return {};
    if (!alarm->isText) return twipsRect(alarm->marker.left, alarm->marker.top, kMarkerSide, kMarkerSide);
    QFont small = font();
    small.setPixelSize(11);
    const int textWidth = (QFontMetrics(small).horizontalAdvance(model_.alarmText(element.slot)) + 6) * kTwipsPerPixel;
    return twipsRect(alarm->textBox.left, alarm->textBox.top, qMax(model_.numberBoxWidth(), textWidth),
                     kBoxHeight);
}

std::optional<ScreenElement> ScreenPreview::elementAt(QPoint point) const {
    if (hidden_) return std::nullopt;
    // Alarms are drawn after parameters, later slots after earlier ones.
    for (int k = ScreenModel::kSlots - 1; k >= 0; --k) {
        const ScreenElement element = ScreenElement::alarm(k);
        const ScadaAlarm *alarm = model_.alarm(k);
        if (alarm && alarm->shownControl().visible && elementRect(element).contains(point)) return element;
    }
    for (int k = ScreenModel::kSlots - 1; k >= 0; --k) {
        const ScreenElement parameter = ScreenElement::parameter(k);
        const ScadaParameter *par = model_.parameter(k);
        if (par && par->control(par->kind())->visible && elementRect(parameter).contains(point)) return parameter;
    }
    return std::nullopt;
}

QPoint ScreenPreview::twipsInside(ScreenElement element, QPoint point) const {
    const QRect r = elementRect(element);
    return (point - r.topLeft()) * kTwipsPerPixel;
}

void ScreenPreview::mousePressEvent(QMouseEvent *event) {
    if (!editor_ || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    const std::optional<ScreenElement> hit = elementAt(at);
    if (!hit) return;
    lastTouched_ = hit;
    const QPoint grab = twipsInside(*hit, at);
    editor_->beginDrag(*hit, grab.x(), grab.y());
}

void ScreenPreview::mouseMoveEvent(QMouseEvent *event) {
    const QPoint at = event->position().toPoint();
    if (!editor_) return QWidget::mouseMoveEvent(event);
    if (editor_->dragging() && (event->buttons() & Qt::LeftButton) && lastTouched_) {
        const QPoint pointer = twipsInside(*lastTouched_, at);
        editor_->dragTo(pointer.x(), pointer.y());
        return;
    }
    underMouse_ = elementAt(at);
    setCursor(underMouse_ ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void ScreenPreview::mouseReleaseEvent(QMouseEvent *event) {
    if (editor_ && event->button() == Qt::LeftButton) editor_->endDrag();
    QWidget::mouseReleaseEvent(event);
}

void ScreenPreview::mouseDoubleClickEvent(QMouseEvent *event) {
    if (!editor_ || event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    editor_->endDrag();
    if (const std::optional<ScreenElement> hit = elementAt(event->position().toPoint())) {
        lastTouched_ = hit;
        emit elementDoubleClicked(*hit);
    }
}

void ScreenPreview::keyPressEvent(QKeyEvent *event) {
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: return QWidget::keyPressEvent(event);
    }
    const std::optional<ScreenElement> target = underMouse_ ? underMouse_ : lastTouched_;
    if (editor_ && target) editor_->nudge(*target, dx, dy);
}

void ScreenPreview::leaveEvent(QEvent *event) {
    underMouse_.reset();
    QWidget::leaveEvent(event);
}

QSize ScreenPreview::sizeHint() const { return QSize(px(kCanvasWidth), px(kCanvasHeight)); }

void ScreenPreview::setPicture(const QImage &picture) {
    picture_ = picture;
    update();
}

void ScreenPreview::setDesignerHidden(bool hidden) {
    hidden_ = hidden;
    update();
}

void ScreenPreview::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRect screen = twipsRect(kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight);
    p.setPen(QPen(palette().color(QPalette::Mid), 2));
    p.drawRect(screen.adjusted(-2, -2, 1, 1));
    p.fillRect(screen, Qt::black);
    // While a write sends, the design stays in view; it only takes no clicks.
    if (!picture_.isNull()) {
        // Each screen pixel is two window pixels; draw it sharp, as the display would.
        p.setClipRect(screen);
        const QImage &shown = shownPicture();
        const QSize scaled = shown.size() * (screen.width() / 320);
        p.drawImage(QRect(screen.topLeft(), scaled), shown);
        p.setClipping(false);
    }
    // Nothing is drawn past the controller's screen.
    p.setClipRect(screen);
    paintElements(p);
}

void ScreenPreview::paintElements(QPainter &p) const {
    QFont small = font();
    small.setPixelSize(11);
    p.setFont(small);
    const QColor outline = palette().color(QPalette::Mid);
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        const ScadaParameter *par = model_.parameter(k);
        if (!par) continue;
        const QColor back = paletteColour(par->backColor);
        const QColor text = readableText(par->textColor, par->backColor);
        if (par->numberBox.visible) {
            const QRect r = twipsRect(par->numberBox.left, par->numberBox.top, model_.numberBoxWidth(), kBoxHeight);
            p.fillRect(r, back);
            p.setPen(outline);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(text);
            p.drawText(r, Qt::AlignCenter, QString::number(k + 1));
        }
        p.setPen(outline);
        p.setBrush(back);
        if (par->level1Picture.visible)
            p.drawRect(twipsRect(par->level1Picture.left, par->level1Picture.top, kLevelWidth, kLevel1Height));
        if (par->level2Picture.visible)
            p.drawRect(twipsRect(par->level2Picture.left, par->level2Picture.top, kLevelWidth, kLevel2Height));
        if (par->gaugePicture.visible) {
            const QRect r = twipsRect(par->gaugePicture.left, par->gaugePicture.top, kGaugeSide, kGaugeSide);
            p.drawEllipse(r);
            p.setPen(text);
            p.drawLine(r.center(), QPoint(r.right() - r.width() / 5, r.top() + r.height() / 5));
        }
        p.setBrush(Qt::NoBrush);

        const ScadaAlarm *alarm = model_.alarm(k);
        if (!alarm) continue;
        const QColor alarmBack = paletteColour(alarm->backColor);
        if (alarm->marker.visible) {
            p.setPen(outline);
            p.setBrush(alarmBack);
            p.drawRect(twipsRect(alarm->marker.left, alarm->marker.top, kMarkerSide, kMarkerSide));
            p.setBrush(Qt::NoBrush);
        }
        if (alarm->textBox.visible) {
            const QString shown = model_.alarmText(k);
            const int width = qMax(model_.numberBoxWidth(), (p.fontMetrics().horizontalAdvance(shown) + 6) * kTwipsPerPixel);
            const QRect r = twipsRect(alarm->textBox.left, alarm->textBox.top, width, kBoxHeight);
            p.fillRect(r, alarmBack);
            p.setPen(readableText(alarm->textColor, alarm->backColor));
            p.drawText(r, Qt::AlignCenter, shown);
        }
    }
}

} // namespace z5
