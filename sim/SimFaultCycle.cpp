#include "SimFaultCycle.h"

namespace z5sim {
namespace {

struct Phase {
    const char *name;
    int lateMs;
    int drop;
    int corrupt;
    int shortReplies;
};

// Late stays under the client's one-second reply limit, so those replies count
// as good; silence outlasts any phase length a run would choose.
constexpr Phase kSchedule[SimFaultCycle::kPhases] = {
    {"none", 0, 0, 0, 0},     {"drop", 0, 3, 0, 0},  {"late", 400, 0, 0, 0},
    {"corrupt", 0, 0, 5, 0},  {"short", 0, 0, 0, 3}, {"silence", 0, 1000000, 0, 0},
};

const Phase &phaseAt(int phase) {
    return kSchedule[phase >= 0 && phase < SimFaultCycle::kPhases ? phase : 0];
}

} // namespace

void SimFaultCycle::apply(int phase, SimOptions &options) {
    const Phase &p = phaseAt(phase);
    options.lateMs = p.lateMs;
    options.lateReplies = -1;
    options.dropEvery = 0;
    options.dropReplies = p.drop;
    options.corruptReplies = p.corrupt;
    options.shortReplies = p.shortReplies;
}

const char *SimFaultCycle::name(int phase) { return phaseAt(phase).name; }

} // namespace z5sim
