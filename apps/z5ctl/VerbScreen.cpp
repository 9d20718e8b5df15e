// z5ctl screen: builds the screen stream that follows the station byte and 0x3C of
// a screen write, from a picture and, optionally, a screen file's elements.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ScreenInput.h"
#include "model/AtomicFileSave.h"
#include "screen/ScreenBuilder.h"

namespace {

const QString kUsage = QStringLiteral(
    "screen --picture FILE [--scd FILE.scd] [--mode rle|packed] [--threshold N] --out FILE");

int usage(const QString &why) {
    z5ctl::err(QStringLiteral("z5ctl screen: %1").arg(why));
    z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
    return z5ctl::kUsageError;
}

int runScreen(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (!a.positionals().isEmpty()) return usage(QStringLiteral("unexpected argument %1").arg(a.positionals().first()));
    if (!a.has(QStringLiteral("picture")) || !a.has(QStringLiteral("out")))
        return usage(QStringLiteral("--picture and --out are required"));

    z5ctl::ScreenInput in;
    // Packed unless a screen file or --mode says otherwise.
    in.model.setDisplayMode(z5::ScreenModel::kPackedMode);
    if (const int code = in.read(a, usage)) return code;

    z5::ScreenBuilder builder;
    const z5::ScreenBuilder::Result built = builder.build(in.model, in.picture);
    if (!built.ok()) {
        z5ctl::err(built.message);
        return 1;
    }
    QString why;
    if (!z5::AtomicFileSave::save(a.value(QStringLiteral("out")), built.stream, &why)) {
        z5ctl::err(QStringLiteral("z5ctl screen: cannot write %1: %2").arg(a.value(QStringLiteral("out")), why));
        return 1;
    }
    return 0;
}

const z5ctl::VerbRegistrar registrar(QStringLiteral("screen"), kUsage, runScreen);

} // namespace
