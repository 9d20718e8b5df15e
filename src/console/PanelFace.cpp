#include "console/PanelFace.h"
#include "console/NumberText.h"
#include "link/BlockReply.h"
#include <cmath>

namespace z5 {
namespace {

constexpr int kRows = BlockReply::kRows;
constexpr int kPrintTop = 5;
// Rows 4..7 would print right of the 200-wide picture at 213..369: they get a
// second line of the display, under rows 0..3.
constexpr int kSecondLineTop = 16;

// Row k's horizontal place: 5, 57, 109, ... 369.
int rowPlace(int k) { return 5 + 52 * k; }

// Where row k's value is printed inside the picture.
QPoint printPlace(int k) {
    return k < 4 ? QPoint(rowPlace(k), kPrintTop) : QPoint(rowPlace(k - 4), kSecondLineTop);
}

// The lamp column of a row: two rows share each key column on the second and
// third pictures; on the first only the even rows have one.
int pairedLampColumn(int k) {
    static constexpr std::array<int, 4> kX{{24, 77, 128, 180}};
    return kX[static_cast<std::size_t>(k / 2)];
}
std::optional<int> evenLampColumn(int k) {
    static constexpr std::array<int, 4> kX{{23, 75, 127, 179}};
    if (k % 2 != 0) return std::nullopt;
    return kX[static_cast<std::size_t>(k / 2)];
}

PanelFace::Lamp lamp(int x, int y, bool lit, PanelFace::Colour on, PanelFace::Colour off) {
    return {QPoint(x, y), lit ? PanelFace::kLitRadius : PanelFace::kDarkRadius, lit ? on : off};
}

} // namespace

std::optional<int> PanelFace::layoutOf(float firstParameter) {
    if (!std::isfinite(firstParameter) || firstParameter != std::floor(firstParameter)) return std::nullopt;
    if (firstParameter < 0.0f || firstParameter >= PanelKeys::kPictures) return std::nullopt;
    return static_cast<int>(firstParameter);
}

PanelFace PanelFace::fromReply(const QByteArray &reply, int layout, const NumberText &numbers) {
    PanelFace face;
    switch (layout) {
    case 0: face.drawLayout0(reply, numbers); break;
    case 1: face.drawLayout12(reply, false); break;
    case 2: face.drawLayout12(reply, true); break;
    case 3: face.drawLayout3(reply, numbers); break;
    case 4: face.drawLayout4(reply, numbers); break;
    default: return face;
    }
    face.layout_ = layout;
    return face;
}

void PanelFace::drawLayout0(const QByteArray &reply, const NumberText &numbers) {
    for (int k = 0; k < kRows; ++k) {
        const double first = BlockReply::first(reply, k);
        const double second = BlockReply::second(reply, k);
        if (const auto x = evenLampColumn(k))
            lamps_.push_back(lamp(*x, 52, second != 0.0, Colour::Green, Colour::DarkGreen));
        const int g = rowPlace(k);
        // Rows 0..3 would put their red lamp left of the picture; rows 4..7 light the red lamps.
        prints_.push_back({printPlace(k), numbers.format(static_cast<float>(first)), Colour::Black});
        if (g - 190 >= 0) lamps_.push_back(lamp(g - 190, 32, first != 0.0, Colour::Red, Colour::DarkRed));
    }
}

void PanelFace::drawLayout12(const QByteArray &reply, bool withSwitches) {
    for (int k = 0; k < kRows; ++k) {
        const bool on = BlockReply::second(reply, k) == 1.0;
        const bool upper = k % 2 != 0;
        if (withSwitches && upper) {
            switches_[static_cast<std::size_t>(k / 2)] = on;
            continue;
        }
        if (on) lamps_.push_back({QPoint(pairedLampColumn(k), upper ? 10 : 57), kLitRadius, Colour::Red});
    }
}

void PanelFace::drawLayout3(const QByteArray &reply, const NumberText &numbers) {
    const double state = BlockReply::second(reply, 0);
    lamps_.push_back(lamp(51, 70, state != 0.0, Colour::Red, Colour::DarkRed));
    prints_.push_back({QPoint(5, 17), numbers.format(static_cast<float>(BlockReply::second(reply, 2))), Colour::Yellow});
    prints_.push_back({QPoint(55, 17), numbers.format(static_cast<float>(BlockReply::second(reply, 4))), Colour::Yellow});
}

void PanelFace::drawLayout4(const QByteArray &reply, const NumberText &numbers) {
    for (int k = 0; k < kRows; ++k)
        prints_.push_back({printPlace(k), numbers.format(static_cast<float>(BlockReply::first(reply, k))), Colour::Black});
}

std::vector<QPoint> PanelFace::lampSockets(int layout) {
    std::vector<QPoint> sockets;
    switch (layout) {
    case 0:
        for (int x : {23, 75, 127, 179}) {
            sockets.emplace_back(x, 32);
            sockets.emplace_back(x, 52);
        }
        break;
    case 1:
    case 2:
        for (int k = 0; k < kRows; ++k) {
            const bool upper = k % 2 != 0;
            if (layout == 2 && upper) continue;
            sockets.emplace_back(pairedLampColumn(k), upper ? 10 : 57);
        }
        break;
    case 3: sockets.emplace_back(51, 70); break;
    default: break;
    }
    return sockets;
}

QRect PanelFace::displayArea(int layout) {
    switch (layout) {
    case 0:
    case 4: return QRect(2, 2, PanelKeys::kWidth - 4, 25);  // two lines of four values
    case 3: return QRect(2, 12, 100, 24);
    default: return {};
    }
}

} // namespace z5
