// z5ctl screen: builds the screen stream that follows the station byte and 0x3C of
// a screen write, from a picture and, optionally, a screen file's elements.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ScreenInput.h"
#include "model/AtomicFileSave.h"
#include "screen/ScreenBuilder.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("screen"), why); }

int runScreen(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    for (const char *required : {"picture", "out"})
        if (!a.has(QLatin1String(required))) return usage(QStringLiteral("--%1 is required").arg(QLatin1String(required)));
    // Checked before the picture is read: a stream that has nowhere to go is not built.
    if (const QString refused = z5::AtomicFileSave::refusedTarget(a.value(QStringLiteral("out"))); !refused.isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl screen: %1").arg(refused));
        return z5ctl::kBadInput;
    }

    z5ctl::ScreenInput in;
    // Packed unless a screen file or --mode says otherwise.
    in.model.setDisplayMode(z5::ScreenModel::kPackedMode);
    if (const int code = in.read(a, usage)) return code;

    z5::ScreenBuilder builder;
    const z5::ScreenBuilder::Result built = builder.build(in.model, in.picture);
    if (!built.ok()) {
        z5ctl::err(in.pictureProblem(built.message));
        return 1;
    }
    // Packed, a picture of the display's full height loses its bottom row: the
    // stream is written all the same, as the designer's "OK" would write it.
    if (!built.warning.isEmpty()) z5ctl::err(QStringLiteral("z5ctl screen: ") + built.warning);
    QString why;
    if (!z5::AtomicFileSave::save(a.value(QStringLiteral("out")), built.stream, &why)) {
        z5ctl::err(QStringLiteral("z5ctl screen: cannot write %1: %2").arg(a.value(QStringLiteral("out")), why));
        return 1;
    }
    return 0;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("screen"),
                                      {QStringLiteral("screen --picture FILE [--scd FILE.scd] [--mode rle|packed] [--threshold N] --out FILE")},
                                      QStringLiteral("Writes the screen stream that follows the station byte and 0x3C of a screen write.\n"
                                                     "Packed unless the screen file or --mode says otherwise; N: colour threshold 0..255."),
                                      QStringLiteral("screen --picture examples/panel.png --scd examples/panel.scd --mode rle --out panel.bin"), runScreen});

} // namespace
