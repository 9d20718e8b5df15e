#pragma once
#include "CommandLine.h"
#include "import/ImportResult.h"
#include "model/ParameterStore.h"
#include "screen/ScreenModel.h"
#include "trends/TrendChannels.h"
#include <functional>

namespace z5 {
class Prompts;
}

namespace z5ctl {

// The netlist named first on the command line, numbered by --auto; a netlist
// that cannot be used is said on standard error (the result is then not ok).
z5::ImportResult importNamedNetlist(const Arguments &a);

// The trend recorder's channel names, title and scales from the parameter file
// of --params, read with `separator`; blank without --params. A file that cannot
// be read is said on standard error as "z5ctl VERB: why"; nothing then.
std::optional<z5::TrendChannels> trendChannels(const Arguments &a, QChar separator, const QString &verb);

// What the table-writing verbs send: the netlist (the one positional argument,
// numbered by --auto), the parameters of --params (read with --decimal) and the
// alarm texts of --screen.
struct ProjectInput {
    z5::ImportResult imported;
    z5::ParameterStore store;
    z5::ScreenModel screen;

    // Reads them all; on a fault prints why and returns the exit code to end with
    // (argument faults through usage()), else 0. The parameter file's messages go
    // through prompts.
    int read(const Arguments &a, z5::Prompts &prompts, const std::function<int(const QString &)> &usage);
};

} // namespace z5ctl
