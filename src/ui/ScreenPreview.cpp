#include "ui/ScreenPreview.h"
#include "screen/ScreenModel.h"
#include "screen/ScreenPalette.h"
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
    if (hidden_) return;
    if (!picture_.isNull()) {
        // Each screen pixel is two window pixels; draw it sharp, as the display would.
        p.setClipRect(screen);
        const QSize scaled = picture_.size() * (screen.width() / 320);
        p.drawImage(QRect(screen.topLeft(), scaled), picture_);
        p.setClipping(false);
    }
    paintElements(p);
}

void ScreenPreview::paintElements(QPainter &p) const {
    QFont small = font();
    small.setPixelSize(11);
    p.setFont(small);
    const QColor outline = palette().color(QPalette::Mid);
    for (int k = 0; k < ScreenModel::kSlots; ++k) {
        const ScadaParametr *par = model_.parametr(k);
        if (!par) continue;
        const QColor back = paletteColour(par->backColor);
        const QColor text = readableText(par->textColor, par->backColor);
        if (par->Text1.visible) {
            const QRect r = twipsRect(par->Text1.left, par->Text1.top, model_.numberBoxWidth(), kBoxHeight);
            p.fillRect(r, back);
            p.setPen(outline);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(text);
            p.drawText(r, Qt::AlignCenter, QString::number(k + 1));
        }
        p.setPen(outline);
        p.setBrush(back);
        if (par->Picture3.visible)
            p.drawRect(twipsRect(par->Picture3.left, par->Picture3.top, kLevelWidth, kLevel1Height));
        if (par->Picture4.visible)
            p.drawRect(twipsRect(par->Picture4.left, par->Picture4.top, kLevelWidth, kLevel2Height));
        if (par->Picture5.visible) {
            const QRect r = twipsRect(par->Picture5.left, par->Picture5.top, kGaugeSide, kGaugeSide);
            p.drawEllipse(r);
            p.setPen(text);
            p.drawLine(r.center(), QPoint(r.right() - r.width() / 5, r.top() + r.height() / 5));
        }
        p.setBrush(Qt::NoBrush);

        const ScadaSignal *sig = model_.signal(k);
        if (!sig) continue;
        const QColor sigBack = paletteColour(sig->backColor);
        if (sig->Picture2.visible) {
            p.setPen(outline);
            p.setBrush(sigBack);
            p.drawRect(twipsRect(sig->Picture2.left, sig->Picture2.top, kMarkerSide, kMarkerSide));
            p.setBrush(Qt::NoBrush);
        }
        if (sig->Text_SIGNAL_TEXT.visible) {
            const QString shown = model_.signalText(k);
            const int width = qMax(model_.numberBoxWidth(), (p.fontMetrics().horizontalAdvance(shown) + 6) * kTwipsPerPixel);
            const QRect r = twipsRect(sig->Text_SIGNAL_TEXT.left, sig->Text_SIGNAL_TEXT.top, width, kBoxHeight);
            p.fillRect(r, sigBack);
            p.setPen(readableText(sig->textColor, sig->backColor));
            p.drawText(r, Qt::AlignCenter, shown);
        }
    }
}

} // namespace z5
