// z5ctl params: load and save a parameter file, or write an empty one.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include "app/ParameterFileCommands.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("params"), why); }

int runParams(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("new")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    if (a.has(QStringLiteral("in")) == a.has(QStringLiteral("new")))
        return usage(a.has(QStringLiteral("new")) ? QStringLiteral("--in or --new, not both") : QStringLiteral("--in or --new is required"));
    if (!a.has(QStringLiteral("out"))) return usage(QStringLiteral("--out is required"));
    // An empty name is a missing name, not a file that cannot be written.
    for (const QString &option : {QStringLiteral("in"), QStringLiteral("out")})
        if (a.has(option) && a.value(option).trimmed().isEmpty())
            return usage(QStringLiteral("--%1 is empty: name the parameter file").arg(option));
    // The user's decimal separator unless told otherwise: files follow the locale.
    const std::optional<QChar> decimal = z5ctl::decimalSeparator(a);
    if (!decimal) return usage(z5ctl::decimalSeparatorProblem());

    z5::ParameterStore store;
    z5::RecordingPrompts prompts;
    prompts.onMessage = [](const QString &text, const QString &) { z5ctl::err(text); };
    z5::ParameterFileCommands files(store, prompts, *decimal);
    if (a.has(QStringLiteral("in")) && !files.loadFrom(a.value(QStringLiteral("in")))) return 1;
    if (!files.saveTo(a.value(QStringLiteral("out")))) return 1;
    return 0;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("params"),
                                      {QStringLiteral("params (--in A.par | --new) --out B.par [--decimal SEP]")},
                                      QStringLiteral("Loads, checks and rewrites a parameter file, or writes an empty one.\n"
                                                     "SEP: \".\" or \",\", the user's locale's by default."),
                                      QStringLiteral("params --in examples/boiler.par --out boiler-point.par --decimal ."), runParams});

} // namespace
