#pragma once
#include <QImage>
#include <QWidget>

namespace z5 {

class ScreenModel;

// The designer's canvas: the operator screen preview `Picture1` (320 by 240
// screen pixels, 30 twips each) with the background picture and, laid over it,
// the element controls of the screen model where their twips put them.
class ScreenPreview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTwipsPerPixel = 15;  // window twips per window pixel
    static constexpr int kPreviewLeft = 420;   // twips, screen pixel 0
    static constexpr int kPreviewTop = 270;
    static constexpr int kPreviewWidth = 9600;  // 320 screen pixels
    static constexpr int kPreviewHeight = 7200;  // 240 screen pixels
    static constexpr int kCanvasWidth = 10500;
    static constexpr int kCanvasHeight = 7700;

    static int px(int twips) { return twips / kTwipsPerPixel; }

    ScreenPreview(const ScreenModel &model, QWidget *parent = nullptr);

    // The background picture as loaded (`Image1`); a null picture shows black.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return picture_; }

    // The screen write hides the markers and the background while it builds the
    // stream; the closing shows them again.
    void setDesignerHidden(bool hidden);
    bool designerHidden() const { return hidden_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintElements(class QPainter &p) const;

    const ScreenModel &model_;
    QImage picture_;
    bool hidden_ = false;
};

} // namespace z5
