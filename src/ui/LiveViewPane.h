#pragma once
#include "console/PanelFace.h"
#include "console/PanelKeys.h"
#include "console/ValueTable.h"
#include <QPointF>
#include <QWidget>
#include <array>
#include <optional>

class QLabel;

namespace z5 {

class PanelPictureWidget;
class ValueTableWidget;

// The live view elements of the console: the value table
// `Picture_TABLICA_PROCESS`, the five panel pictures, the caption `Label5`
// ("Панель управления: " and the panel's name) and the four channel names
// `Label6`. It only shows what the live view worked out.
class LiveViewPane : public QWidget {
    Q_OBJECT
public:
    explicit LiveViewPane(QWidget *parent);

    // Shows the table (cleared) and hides the panel elements.
    void showTable();
    void setTable(const ValueTable &table);
    // Shows the picture of `layout` (none for another layout) with its captions.
    void showPanel(std::optional<int> layout, const QString &caption, const std::array<QString, 4> &channels);
    void setFace(const PanelFace &face);
    void setSwitches(const std::array<bool, PanelKeys::kSwitches> &on);
    // Hides every live view element and the pane, so the rows below take the mouse.
    void hideAll();

    ValueTableWidget *valueTable() const { return table_; }
    // Pictures 1..5; nullptr outside.
    PanelPictureWidget *panelPicture(int number) const;
    QLabel *panelCaption() const { return label5_; }
    QLabel *channelName(int i) const { return i >= 0 && i < 4 ? label6_[i] : nullptr; }

signals:
    // A click on the shown panel picture, in the picture's coordinates.
    void panelClicked(QPointF picturePoint);
    void switchClicked(int switchIndex);

private:
    ValueTableWidget *table_;
    std::array<PanelPictureWidget *, PanelKeys::kPictures> panels_{};
    QLabel *label5_;
    std::array<QLabel *, 4> label6_{};
};

} // namespace z5
