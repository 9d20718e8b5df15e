#pragma once
#include <QWidget>

namespace z5 {

// The element dialogs' row of 16 colour swatches: 0..7 choose the text colour,
// 8..15 the background colour; the chosen swatch of each half is marked.
class ColourSwatchRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSwatches = 16;
    static constexpr int kSide = 20;

    explicit ColourSwatchRow(QWidget *parent = nullptr);

    void setChosen(int textColour, int backColour);
    int textColour() const { return text_; }
    int backColour() const { return back_; }
    QRect swatchRect(int swatch) const;

    QSize sizeHint() const override;

signals:
    void chosenChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    int text_ = 0;
    int back_ = 0;
};

} // namespace z5
