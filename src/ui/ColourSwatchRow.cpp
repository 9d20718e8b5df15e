#include "ui/ColourSwatchRow.h"
#include "screen/ScreenPalette.h"
#include <QMouseEvent>
#include <QPainter>

namespace z5 {

namespace {
// A gap between the text half and the background half.
constexpr int kHalfGap = 8;
constexpr int kGap = 2;
} // namespace

ColourSwatchRow::ColourSwatchRow(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("colourSwatches"));
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Слева цвет текста, справа цвет фона"));
}

QSize ColourSwatchRow::sizeHint() const { return QSize(kSwatches * (kSide + kGap) + kHalfGap, kSide + 6); }

QRect ColourSwatchRow::swatchRect(int swatch) const {
    const int x = swatch * (kSide + kGap) + (swatch >= ScreenPalette::kColours ? kHalfGap : 0);
    return QRect(x + 1, 3, kSide, kSide);
}

void ColourSwatchRow::setChosen(int textColour, int backColour) {
    text_ = ScreenPalette::isIndex(textColour) ? textColour : 0;
    back_ = ScreenPalette::isIndex(backColour) ? backColour : 0;
    update();
    emit chosenChanged();
}

void ColourSwatchRow::paintEvent(QPaintEvent *) {
    QPainter p(this);
    for (int i = 0; i < kSwatches; ++i) {
        const int colour = i % ScreenPalette::kColours;
        const QRect r = swatchRect(i);
        p.fillRect(r, QColor::fromRgb(ScreenPalette::colour(colour)));
        const bool chosen = i < ScreenPalette::kColours ? colour == text_ : colour == back_;
        // The chosen swatch gets a thick frame in the window's highlight colour.
        p.setPen(chosen ? QPen(palette().color(QPalette::Highlight), 3) : QPen(palette().color(QPalette::Mid), 1));
        p.drawRect(chosen ? r.adjusted(-1, -1, 0, 0) : r.adjusted(0, 0, -1, -1));
    }
}

void ColourSwatchRow::mousePressEvent(QMouseEvent *event) {
    for (int i = 0; i < kSwatches; ++i) {
        if (!swatchRect(i).contains(event->position().toPoint())) continue;
        if (i < ScreenPalette::kColours) setChosen(i, back_);
        else setChosen(text_, i - ScreenPalette::kColours);
        return;
    }
}

} // namespace z5
