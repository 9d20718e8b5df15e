#include "ProjectInput.h"
#include "import/NetlistImport.h"
#include "app/ParameterFileCommands.h"
#include "model/RecordingPrompts.h"
#include "screen/ScreenFile.h"

namespace z5ctl {

z5::ImportResult importNamedNetlist(const Arguments &a) {
    z5::NetlistImport import;
    z5::ImportResult imported = import.importFile(
        a.positionals().first(), a.has(QStringLiteral("auto")) ? z5::Numbering::Auto : z5::Numbering::Manual);
    if (!imported.ok) err(imported.message);
    return imported;
}

std::optional<z5::TrendChannels> trendChannels(const Arguments &a, QChar separator, const QString &verb) {
    z5::ParameterStore store;
    if (a.has(QStringLiteral("params"))) {
        z5::RecordingPrompts prompts;
        z5::ParameterFileCommands files(store, prompts, separator);
        if (!files.loadFrom(a.value(QStringLiteral("params")))) {
            for (const auto &m : prompts.messages) err(QStringLiteral("z5ctl %1: %2").arg(verb, m.text));
            return std::nullopt;
        }
    }
    return z5::TrendChannels::fromStore(store);
}

int ProjectInput::read(const Arguments &a, z5::Prompts &prompts, const std::function<int(const QString &)> &usage) {
    if (a.positionals().isEmpty()) return usage(QStringLiteral("a NETLIST is required"));
    if (const QString extra = a.surplus(1); !extra.isEmpty()) return usage(extra);
    // The separator is for reading parameter files.
    if (const QString stray = a.notApplying({QStringLiteral("decimal")}, QStringLiteral("without --params"));
        !stray.isEmpty() && !a.has(QStringLiteral("params")))
        return usage(stray);
    // Parameter files follow the user's decimal separator unless told otherwise.
    const std::optional<QChar> decimal = decimalSeparator(a);
    if (!decimal) return usage(decimalSeparatorProblem());

    imported = importNamedNetlist(a);
    if (!imported.ok) return 1;
    if (a.has(QStringLiteral("params"))) {
        z5::ParameterFileCommands files(store, prompts, *decimal);
        if (!files.loadFrom(a.value(QStringLiteral("params")))) return 1;
    }
    // The alarm-texts table (`Table::AlarmTexts`) carries a screen file's texts; without one they are blank.
    if (a.has(QStringLiteral("screen"))) {
        const z5::ScreenFileError e = z5::ScreenFile::load(a.value(QStringLiteral("screen")), screen);
        if (e.isError()) {
            err(QStringLiteral("%1: %2").arg(a.value(QStringLiteral("screen")), e.message));
            return 1;
        }
    }
    return 0;
}

} // namespace z5ctl
