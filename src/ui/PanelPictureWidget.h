#pragma once
#include "console/PanelFace.h"
#include <QPointF>
#include <QWidget>
#include <array>

namespace z5 {

class SwitchImage;

// One of the operator panel pictures `Picture_PANEL_1` .. `_5`: a panel face
// of keys in three rows of four, lamp sockets and a display, drawn here, with
// the lamps and values of the panel block's last reply. The third picture
// carries the four switches in place of its top key row. The face is drawn
// in the picture's own pixels, enlarged by kScale.
class PanelPictureWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr double kScale = 1.4;

    PanelPictureWidget(int layout, QWidget *parent);

    int layout() const { return layout_; }
    void setFace(const PanelFace &face);
    void clearFace();
    const PanelFace &face() const { return face_; }

    // The key under the mouse, 100 over no key.
    int keyUnderMouse() const { return keyUnderMouse_; }
    // A window point as the picture's own coordinates.
    QPointF toPicture(const QPointF &widgetPoint) const { return widgetPoint / kScale; }
    QPoint toWidget(const QPointF &picturePoint) const { return (picturePoint * kScale).toPoint(); }

    // The third picture's switches; nullptr elsewhere or outside 0..3.
    SwitchImage *switchUp(int i) const;
    SwitchImage *switchDown(int i) const;
    // Shows the on or the off image of a switch and hides the other.
    void setSwitch(int i, bool on);

signals:
    // A click at a point in the picture's own coordinates.
    void clickedAt(QPointF picturePoint);
    void switchClicked(int switchIndex);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintKeys(class QPainter &p) const;
    void paintLampsAndValues(class QPainter &p) const;

    int layout_;
    PanelFace face_;
    int keyUnderMouse_ = 100;
    std::array<SwitchImage *, 4> on_{};
    std::array<SwitchImage *, 4> off_{};
};

} // namespace z5
