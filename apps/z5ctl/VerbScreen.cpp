// z5ctl screen: builds the screen stream that follows the station byte and 0x3C of
// a screen write, from a picture and, optionally, a screen file's elements.
#include "CommandLine.h"
#include "screen/PictureLoader.h"
#include "model/AtomicFileSave.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"

namespace {

const QString kUsage = QStringLiteral(
    "screen --picture FILE [--scd FILE.scd] [--mode rle|packed] [--threshold N] --out FILE");

int usage(const QString &why) {
    z5ctl::err(QStringLiteral("z5ctl screen: %1").arg(why));
    z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
    return 2;
}

int runScreen(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (!a.positionals().isEmpty()) return usage(QStringLiteral("unexpected argument %1").arg(a.positionals().first()));
    if (!a.has(QStringLiteral("picture")) || !a.has(QStringLiteral("out")))
        return usage(QStringLiteral("--picture and --out are required"));

    z5::ScreenModel model;
    const QString mode = a.value(QStringLiteral("mode"), QStringLiteral("packed"));
    if (mode == QLatin1String("rle"))
        model.setDisplayMode(z5::ScreenModel::kRunLengthMode);
    else if (mode == QLatin1String("packed"))
        model.setDisplayMode(z5::ScreenModel::kPackedMode);
    else
        return usage(QStringLiteral("--mode is rle or packed, not %1").arg(mode));
    if (a.has(QStringLiteral("threshold"))) {
        bool ok = false;
        const int t = a.value(QStringLiteral("threshold")).toInt(&ok);
        if (!ok || !model.setColorThreshold(t)) return usage(QStringLiteral("--threshold is 0..255"));
    }

    if (a.has(QStringLiteral("scd"))) {
        const z5::ScreenFileError e = z5::ScreenFile::load(a.value(QStringLiteral("scd")), model);
        if (e.isError()) {
            z5ctl::err(QStringLiteral("%1: %2").arg(a.value(QStringLiteral("scd")), e.message));
            return 1;
        }
    }
    const z5::PictureLoader::Result picture = z5::PictureLoader::load(a.value(QStringLiteral("picture")));
    if (!picture.ok()) {
        z5ctl::err(QStringLiteral("%1: %2").arg(a.value(QStringLiteral("picture")), picture.message));
        return 1;
    }

    z5::ScreenBuilder builder;
    const z5::ScreenBuilder::Result built = builder.build(model, picture.image);
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
