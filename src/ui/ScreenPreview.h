#pragma once
#include "screen/ScreenElement.h"
#include <QImage>
#include <QWidget>
#include <optional>

namespace z5 {

class ScreenEditor;
class ScreenModel;

// The designer's canvas: the operator screen preview `Picture1` (320 by 240
// screen pixels, 30 twips each) with the background picture and, laid over it,
// the element controls of the screen model where their twips put them. With an
// editor, elements are dragged with the left button, nudged with the arrow keys
// (the element under the mouse, else the one last touched) and a double click
// asks for the element's dialog.
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

    // The background picture as loaded; a null picture shows black.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return picture_; }

    // The screen write hides the markers and the background while it builds the
    // stream; the closing shows them again.
    void setDesignerHidden(bool hidden);
    bool designerHidden() const { return hidden_; }

    void setEditor(ScreenEditor *editor);

    // "Как на Z5": the background reduced to the display's eight colours at the
    // current colour threshold, as the controller receives it in the current
    // display mode (in packed mode what the stream cannot carry is grey).
    void setLikeController(bool on);
    bool likeController() const { return likeController_; }

    // The element drawn topmost at a window point, if any, and where it is drawn.
    std::optional<ScreenElement> elementAt(QPoint point) const;
    QRect elementRect(ScreenElement element) const;

    QSize sizeHint() const override;

signals:
    void elementDoubleClicked(z5::ScreenElement element);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintElements(class QPainter &p) const;
    const QImage &shownPicture() const;
    // The pointer inside the element, in twips from its top left.
    QPoint twipsInside(ScreenElement element, QPoint point) const;

    const ScreenModel &model_;
    ScreenEditor *editor_ = nullptr;
    QImage picture_;
    bool hidden_ = false;
    bool likeController_ = false;
    mutable QImage reduced_;
    mutable qint64 reducedKey_ = -1;
    mutable int reducedThreshold_ = -1;
    mutable bool reducedRunLength_ = false;
    std::optional<ScreenElement> underMouse_;
    std::optional<ScreenElement> lastTouched_;
};

} // namespace z5
