#pragma once
#include <QPoint>
#include <QWidget>

namespace z5 {

// One element of the console's icon array `Logik_Blok_img`: the icon of one
// type and instance, placed at a slot corner (kept in twips) by the import.
class ConsoleIcon : public QWidget {
    Q_OBJECT
public:
    ConsoleIcon(int iconNumber, QWidget *parent);

    int iconNumber() const { return iconNumber_; }
    // Moves the icon to a slot corner given in twips.
    void placeAt(const QPoint &cornerTwips);
    QPoint cornerTwips() const { return corner_; }

signals:
    void pressed(int iconNumber, Qt::MouseButton button);
    // An arrow key asks for the nearest icon that way.
    void stepRequested(int iconNumber, Qt::Key direction);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int iconNumber_;
    QPoint corner_;
};

} // namespace z5
