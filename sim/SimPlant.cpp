#include "SimPlant.h"
#include "SimMemory.h"
#include "SimWire.h"
#include <cmath>

namespace z5sim {
namespace {

enum Type { A_I = 1, D_I = 3, S_P = 16, PAN = 20 };

constexpr int kFirstOffset = 2, kSecondOffset = 130, kThirdOffset = 162;
constexpr int kUnitOffset = SimPlant::kReplyDataLength - 1;

double rounded(double v) { return std::round(v * 1000.0) / 1000.0; }

} // namespace

SimPlant::SimPlant(const SimMemory &memory, int station, int unit)
    : memory_(memory), station_(station), unit_(unit) {}

std::array<SimPlant::Row, SimPlant::kRows> SimPlant::valuesOf(int column, std::int64_t nowMs) const {
    std::array<Row, kRows> rows{};
    const int type = memory_.blockType(column);
    const int inst = memory_.instance(column);
    const int slot = inst > 0 ? inst - 1 : 0;
    const double t = nowMs / 1000.0;
    switch (type) {
    case 0:
        break;   // no block there
    case A_I: {
        // A drifting measurement and the loop current that carries it.
        const double value = rounded(50.0 + 25.0 * std::sin(2.0 * M_PI * t / 60.0 + inst));
        rows[0].second = value;
        rows[0].third = rounded(4.0 + 16.0 * value / 100.0);
        break;
    }
    case D_I:
        for (int k = 0; k < kRows; ++k) rows[k].first = (static_cast<int>(t / 2.0) + k + inst) % 2;
        break;
    case S_P: {
        const auto written = memory_.setpoints(column);
        for (int k = 0; k < kRows; ++k) {
            rows[k].second = written ? (*written)[k] : memory_.parameter(S_P, slot, k);
            rows[k].first = rows[k].second;
        }
        break;
    }
    case PAN: {
        const auto it = panels_.find(column);
        const Panel panel = it != panels_.end() ? it->second : Panel{};
        for (int k = 0; k < kRows; ++k) {
            rows[k].first = panel.presses[k];
            rows[k].second = panel.lamps[k];
        }
        if (panelLayout(column) == 3) {
            // A small heating loop: the measured value swings about the setpoint.
            const double measured = rounded(panel.setpoint - 0.5 + 1.5 * std::sin(2.0 * M_PI * t / 20.0));
            rows[2].second = panel.setpoint;
            rows[4].second = measured;
            rows[0].second = measured < panel.setpoint ? 1 : 0;
        }
        break;
    }
    default:
        for (int k = 0; k < kRows; ++k) {
            rows[k].first = rounded(inst * 10 + k + std::sin(2.0 * M_PI * t / 30.0 + k));
            rows[k].second = memory_.parameter(type, slot, k);
        }
        break;
    }
    return rows;
}

QByteArray SimPlant::blockReply(int column, std::int64_t nowMs) const {
    QByteArray data(kReplyDataLength, '\0');
    data[0] = char(station_);
    data[1] = 0x03;
    data[kUnitOffset] = char(unit_);
    const auto rows = valuesOf(column, nowMs);
    for (int k = 0; k < kRows; ++k) {
        SimWire::putValue(data, kFirstOffset + 4 * k, rows[k].first);
        SimWire::putValue(data, kSecondOffset + 4 * k, rows[k].second);
        SimWire::putValue(data, kThirdOffset + 4 * k, rows[k].third);
    }
    return SimWire::withCheckValue(data);
}

QByteArray SimPlant::processReply() const {
    QByteArray data(kReplyDataLength, '\0');
    data[0] = char(station_);
    data[1] = 0x03;
    data[2] = running_ ? 1 : 0;
    data[kUnitOffset] = char(unit_);
    return SimWire::withCheckValue(data);
}

void SimPlant::processCommand(int code) {
    if (code == Start) running_ = true;
    if (code == Pause) running_ = false;
    if (code == Store) ++stores_;
}

int SimPlant::panelLayout(int column) const {
    const int inst = memory_.instance(column);
    const double layout = memory_.parameter(PAN, inst > 0 ? inst - 1 : 0, 0);
    return layout >= 0 && layout <= 4 && layout == std::floor(layout) ? static_cast<int>(layout) : 0;
}

void SimPlant::pressKey(int column, int key) {
    if (key < 1 || key > 12) return;
    Panel &p = panels_[column];
    const int c = (key - 1) % 4;
    const auto toggle = [&p](int row) {
        p.lamps[row] = p.lamps[row] ? 0 : 1;
        ++p.presses[row];
    };
    switch (panelLayout(column)) {
    case 1:
        if (key <= 4) toggle(2 * c);
        else if (key <= 8) toggle(2 * c + 1);
        else p.lamps[2 * c] = p.lamps[2 * c + 1] = 0;
        break;
    case 2:
        if (key >= 9) toggle(2 * c + 1);
        else if (!p.lamps[2 * c + 1]) toggle(2 * c);
        break;
    case 3:
        if (key == 5) p.setpoint -= 1.0;
        if (key == 6) p.setpoint += 1.0;
        break;
    case 4:
        if (key <= 4) ++p.presses[c];
        else if (key <= 8) --p.presses[c];
        break;
    default:
        toggle(key <= 8 ? key - 1 : 2 * (key - 9) + 1);
        break;
    }
}

int SimPlant::lamp(int column, int row) const {
    const auto it = panels_.find(column);
    return it == panels_.end() || row < 0 || row >= kRows ? 0 : it->second.lamps[row];
}

} // namespace z5sim
