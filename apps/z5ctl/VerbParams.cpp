// z5ctl params: load and save a parameter file, or write an empty one.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "model/ParameterStore.h"
#include "model/RecordingPrompts.h"
#include "parfile/ParameterFileCommands.h"

namespace {

const char kUsage[] = "params (--in A.par | --new) --out B.par [--decimal SEP]";

int runParams(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("new")});
    if (!a.error().isEmpty() || !a.has(QStringLiteral("out")) ||
        a.has(QStringLiteral("in")) == a.has(QStringLiteral("new")) || !a.positionals().isEmpty()) {
        if (!a.error().isEmpty()) z5ctl::err(a.error());
        z5ctl::err(QStringLiteral("usage: z5ctl ") + QLatin1String(kUsage));
        return z5ctl::kUsageError;
    }
    // The user's decimal separator unless told otherwise: files follow the locale.
    const std::optional<QChar> decimal = z5ctl::decimalSeparator(a);
    if (!decimal) {
        z5ctl::err(z5ctl::decimalSeparatorProblem());
        z5ctl::err(QStringLiteral("usage: z5ctl ") + QLatin1String(kUsage));
        return z5ctl::kUsageError;
    }

    z5::ParameterStore store;
    z5::RecordingPrompts prompts;
    prompts.onMessage = [](const QString &text, const QString &) { z5ctl::err(text); };
    z5::ParameterFileCommands files(store, prompts, *decimal);
    if (a.has(QStringLiteral("in")) && !files.loadFrom(a.value(QStringLiteral("in")))) return 1;
    if (!files.saveTo(a.value(QStringLiteral("out")))) return 1;
    return 0;
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("params"), QLatin1String(kUsage), runParams);

} // namespace
