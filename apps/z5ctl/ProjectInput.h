#pragma once
#include "CommandLine.h"
#include "import/ImportResult.h"
#include "model/ParameterStore.h"
#include "screen/ScreenModel.h"
#include <functional>

namespace z5 {
class Prompts;
}

namespace z5ctl {

// What the table-writing verbs send: the netlist (the one positional argument,
// numbered by --auto), the parameters of --params (read with --decimal) and the
// alarm texts of --screen.
// The netlist named first on the command line, numbered by --auto; a netlist
// that cannot be used is said on standard error (the result is then not ok).
z5::ImportResult importNamedNetlist(const Arguments &a);

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
