#pragma once
#include <QWidget>

class QLabel;

namespace z5 {

class TrendSession;

// `Picture_GRAFIK`: the page drawn at its native 545 x 347 and scaled with the
// widget, with the percent labels `Label1`..`Label4` beside it. Reports the row
// under the mouse.
class TrendPlotWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLabelWidth = 36;

    explicit TrendPlotWidget(const TrendSession &session, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The plot's own rectangle inside the widget.
    QRectF plotRect() const;
    // The row under a widget position, -1 outside the rows.
    int rowAt(const QPointF &pos) const;

signals:
    void rowHovered(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void placeLabels();

    const TrendSession &session_;
    QLabel *labels_[4];
};

} // namespace z5
