#pragma once
#include "console/PanelKeys.h"
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace z5 {

class NumberText;

// What an operator panel picture shows after a reply of its panel block: the
// lamps, the printed values and the four switches, worked out without a
// window. The layout number is the block's first parameter; layouts 0..4 are
// the pictures `Picture_PANEL_1` .. `_5`.
class PanelFace {
public:
    enum class Colour { Red, DarkRed, Green, DarkGreen, Black, Yellow };
    static constexpr int kLitRadius = 3;
    static constexpr int kDarkRadius = 2;
    static constexpr int kLampPenWidth = 3;

    struct Lamp {
        QPoint centre;
        int radius = kLitRadius;
        Colour colour = Colour::Red;
        bool operator==(const Lamp &o) const {
            return centre == o.centre && radius == o.radius && colour == o.colour;
        }
    };
    struct Print {
        QPoint topLeft;
        QString text;
        Colour colour = Colour::Black;
    };

    // The layout a stored first parameter selects, or none: only the whole
    // numbers 0..4 name a picture.
    static std::optional<int> layoutOf(float firstParameter);
    // The face of layout 0..4 for a reply; an empty face for any other layout.
    static PanelFace fromReply(const QByteArray &reply, int layout, const NumberText &numbers);
    // Where lamps can light on a layout's picture (drawn as empty sockets).
    static std::vector<QPoint> lampSockets(int layout);
    // Where the picture prints values (drawn as a display window).
    static QRect displayArea(int layout);

    int layout() const { return layout_; }
    const std::vector<Lamp> &lamps() const { return lamps_; }
    const std::vector<Print> &prints() const { return prints_; }
    // Switch states a reply set (third picture only); empty where it set none.
    const std::array<std::optional<bool>, PanelKeys::kSwitches> &switches() const { return switches_; }

private:
    void drawLayout0(const QByteArray &reply, const NumberText &numbers);
    void drawLayout12(const QByteArray &reply, bool withSwitches);
    void drawLayout3(const QByteArray &reply, const NumberText &numbers);
    void drawLayout4(const QByteArray &reply, const NumberText &numbers);

    int layout_ = -1;
    std::vector<Lamp> lamps_;
    std::vector<Print> prints_;
    std::array<std::optional<bool>, PanelKeys::kSwitches> switches_{};
};

} // namespace z5
