#pragma once
#include <QWidget>

namespace z5 {

// `Picture_PAUSE_PROCESS` or `Picture_RABOTA_PROCESS`: what a click on it
// would do to the controller's process, drawn as a pause or a run symbol.
class ProcessPictureWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Pause, Run };
    ProcessPictureWidget(Kind kind, QWidget *parent);
    Kind kind() const { return kind_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Kind kind_;
};

} // namespace z5
