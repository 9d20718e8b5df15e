#pragma once
#include <QWidget>

namespace z5 {

// One image of a panel switch: `Image1_TUMBLER_ON` (lever up) or
// `Image_TUMBLER_OFF` (lever down). Of each switch's pair one is shown.
class SwitchImage : public QWidget {
    Q_OBJECT
public:
    SwitchImage(bool on, int index, QWidget *parent);
    bool isOnImage() const { return on_; }
    int index() const { return index_; }

signals:
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool on_;
    int index_;
};

} // namespace z5
