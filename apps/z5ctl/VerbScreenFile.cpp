// z5ctl screen-file: load and save a screen file (a readability check and a way
// to normalise one), or write the screen that "&Создать SCADA" starts from.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("screen-file"), why); }

int runScreenFile(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("new")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    if (a.has(QStringLiteral("in")) == a.has(QStringLiteral("new")))
        return usage(a.has(QStringLiteral("new")) ? QStringLiteral("--in or --new, not both") : QStringLiteral("--in or --new is required"));
    if (!a.has(QStringLiteral("out"))) return usage(QStringLiteral("--out is required"));
    // An empty name is a missing name, not a file that cannot be written.
    for (const QString &option : {QStringLiteral("in"), QStringLiteral("out")})
        if (a.has(option) && a.value(option).trimmed().isEmpty())
            return usage(QStringLiteral("--%1 is empty: name the screen file").arg(option));
    z5::ScreenModel model;
    if (a.has(QStringLiteral("new"))) {
        model.createNew();
    } else {
        const z5::ScreenFileError e = z5::ScreenFile::load(a.value(QStringLiteral("in")), model);
        if (e.isError()) {
            z5ctl::err(e.message);
            return 1;
        }
    }
    QString why;
    if (!z5::ScreenFile::save(a.value(QStringLiteral("out")), model, &why)) {
        z5ctl::err(z5::ScreenFile::saveFailedMessage() + (why.isEmpty() ? QString() : QLatin1Char('\n') + why));
        return 1;
    }
    return 0;
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("screen-file"),
                                      {QStringLiteral("screen-file (--in A.scd | --new) --out B.scd")},
                                      QStringLiteral("Loads and rewrites a screen file, or writes the screen a new SCADA starts from."),
                                      QStringLiteral("screen-file --in examples/panel.scd --out panel-checked.scd"), runScreenFile});

} // namespace
