#pragma once
#include "trends/HistoryView.h"
#include <QWidget>

namespace z5 {

class ArchiveHistory;
struct TrendChannels;

// The history's curves over the time it shows. The wheel zooms about the time
// under the mouse (with Shift, or sideways, it scrolls); the arrow keys scroll,
// + and - zoom, Home and End go to the first and the last row. Reports the
// time under the mouse.
class HistoryPlotWidget : public QWidget {
    Q_OBJECT
public:
    HistoryPlotWidget(const ArchiveHistory &history, const TrendChannels &channels, QWidget *parent = nullptr);

    HistoryView &view() { return view_; }
    const HistoryView &view() const { return view_; }
    void setGroup(int group);
    int group() const { return group_; }
    // After the view was changed from outside: drawn again and told.
    void viewChanged();

    void zoomIn();
    void zoomOut();
    void scrollBy(double spans);
    void showFirst();
    void showLast();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void shownRangeChanged();
    // Seconds on the controller's clock; -1 when the mouse left.
    void timeHovered(qint64 seconds);

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    const ArchiveHistory &history_;
    const TrendChannels &channels_;
    HistoryView view_;
    int group_ = 0;
};

} // namespace z5
