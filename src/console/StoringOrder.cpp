#include "console/StoringOrder.h"
#include "model/BlockCatalogue.h"

namespace z5 {

std::vector<int> StoringOrder::rowsFor(int type, int r) {
    switch (type) {
    case BlockType::A_I:
        if (r >= 3 && r <= 8) return {r};
        return {};
    case BlockType::A_O:
    case BlockType::D_I:
    case BlockType::MUL:
    case BlockType::SUM:
    case BlockType::DIV:
    case BlockType::SQR:
    case BlockType::S_P:
    case BlockType::RTC:
    case BlockType::LIM:
    case BlockType::CMP:
    case BlockType::TIM:
    case BlockType::COU:
        return {r};
    case BlockType::PID:
        // The period and the limit are converted before the edited gain.
        if (r >= 3 && r <= 8) return {1, 2, r};
        return {1, 2};
    case BlockType::PRO:
        return {1, 2, 3};
    case BlockType::PAN:
        if (r >= 1 && r <= 5) return {r, 6, 7};
        return {6, 7};
    case BlockType::OSC:
        return {1, 2, 3, 4, 5, 6, 7, 8};
    case BlockType::GRA:
        return {3, 4, 5, 2, 1};
    case BlockType::JUR:
        return {1, 3, 4};
    case BlockType::SCA:
        return {2};
    case BlockType::LOG:
        return {3, 2};
    case BlockType::MOT:
        return {1, 2};
    case BlockType::UNI:
        return {1, 2, 3, 4};
    default:
        return {};
    }
}

} // namespace z5
