#include "console/StoringOrder.h"
#include "model/BlockCatalogue.h"

namespace z5 {

std::vector<int> StoringOrder::rowsFor(int type, int r) {
    switch (type) {
    case A_I:
        if (r >= 3 && r <= 8) return {r};
        return {};
    case A_O:
    case D_I:
    case MUL:
    case SUM:
    case DIV:
    case SQR:
    case S_P:
    case RTC:
    case LIM:
    case CMP:
    case TIM:
    case COU:
        return {r};
    case PID:
        // The period and the limit are converted before the edited gain.
        if (r >= 3 && r <= 8) return {1, 2, r};
        return {1, 2};
    case PRO:
        return {1, 2, 3};
    case PAN:
        if (r >= 1 && r <= 5) return {r, 6, 7};
        return {6, 7};
    case OSC:
        return {1, 2, 3, 4, 5, 6, 7, 8};
    case GRA:
        return {3, 4, 5, 2, 1};
    case JUR:
        return {1, 3, 4};
    case SCA:
        return {2};
    case LOG:
        return {3, 2};
    case MOT:
        return {1, 2};
    case UNI:
        return {1, 2, 3, 4};
    default:
        return {};
    }
}

} // namespace z5
