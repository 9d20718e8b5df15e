#pragma once
#include "SimController.h"
#include "SimLine.h"
#include <cstdio>
#include <string>
#include <vector>

namespace z5sim {

// z5-sim's command line: the stations on the line (one controller each, a
// number given twice two controllers set to it), their faults and how the line
// carries their replies.
class SimArguments {
public:
    enum class Asked { Run, Help, Version, Wrong };
    // What a wrong command line exits with.
    static constexpr int kUsageStatus = 2;

    // Reads argv; for Wrong, error() says what is wrong.
    Asked parse(int argc, char **argv);
    const std::string &error() const { return error_; }
    static void usage(std::FILE *to);

    std::vector<SimOptions> controllers;   // one per station given, in order
    SimLineOptions line;
    std::string link;
    std::string timeline;
    int faultCycleSeconds = 0;
    int rollEveryMs = 0;       // recording goes on to the next page this often; 0 never

private:
    bool wrong(const std::string &why);
    bool take(const std::string &option, const std::string &value);
    bool takeNumber(const std::string &option, const std::string &value);
    bool finish();

    SimOptions faults_;
    std::vector<int> stations_{1};
    std::vector<int> damaged_;
    std::vector<std::string> given_;
    std::string error_;
};

} // namespace z5sim
