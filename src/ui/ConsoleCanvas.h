#pragma once
#include <QPoint>
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

class QFrame;

namespace z5 {

class ConsoleIcon;
class ConsoleLayout;
class ProcessPictureWidget;

// The console's drawing surface: the slot numbers of the grid, the priority
// labels, the 396 block icons (hidden until placed), the selection cursor
// `Line3` and the two process pictures. Coordinates are twips of the window.
class ConsoleCanvas : public QWidget {
    Q_OBJECT
public:
    struct Label {
        QString text;
        QPoint position;  // top left, in twips
    };
    static constexpr int kIcons = 396;

    explicit ConsoleCanvas(QWidget *parent);

    // Wipes what was printed: slot numbers and priority labels.
    void clearDrawing();
    // Prints "01".."99"; the schema command prints the lower rows 5 twips lower.
    void printSlotNumbers(bool fromSchemaCommand);
    // Prints the priority labels (the "00" heading first).
    void printPriorityLabels(std::vector<Label> labels);
    const std::vector<Label> &slotNumbers() const { return slotNumbers_; }
    const std::vector<Label> &priorityLabels() const { return priorityLabels_; }

    // Hides every icon, then shows one per block of the layout at its slot.
    void placeIcons(const ConsoleLayout &layout);
    void hideIcons();
    ConsoleIcon *icon(int iconNumber) const;
    // The icon the Tab key reaches in the grid (the one last stepped to or
    // clicked), nullptr while none is shown.
    ConsoleIcon *tabIcon() const;
    // The shown icon nearest to `from` in the direction of an arrow key, or nullptr.
    ConsoleIcon *neighbour(const ConsoleIcon *from, Qt::Key direction) const;

    // The cursor line under an icon whose corner is given in twips.
    void placeCursor(const QPoint &iconCorner);
    void setCursorVisible(bool visible);
    void toggleCursor();
    QFrame *Line3() const { return line3_; }

    // Shows the pause or the run picture at the process corner; the other is hidden.
    void showProcessPicture(bool pause);
    void hideProcessPictures();
    ProcessPictureWidget *pausePicture() const { return pause_; }
    ProcessPictureWidget *runPicture() const { return run_; }

signals:
    void iconPressed(int iconNumber, Qt::MouseButton button);
    void processPictureClicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void printLabels(QPainter &painter, const std::vector<Label> &labels, const QColor &colour);
    void step(int iconNumber, Qt::Key direction);
    // Only this icon is in the Tab chain; the others take the focus by click or arrow.
    void makeTabIcon(ConsoleIcon *icon);

    std::array<ConsoleIcon *, kIcons> icons_{};
    std::vector<Label> slotNumbers_;
    std::vector<Label> priorityLabels_;
    QFrame *line3_;
    ProcessPictureWidget *pause_;
    ProcessPictureWidget *run_;
    ConsoleIcon *tabIcon_ = nullptr;
};

} // namespace z5
