// z5ctl screen-file: load and save a screen file (a readability check and a way
// to normalise one), or write the screen that "&Создать SCADA" starts from.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"

namespace {

const char kUsage[] = "screen-file (--in A.scd | --new) --out B.scd";

int runScreenFile(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("new")});
    if (!a.error().isEmpty() || !a.has(QStringLiteral("out")) ||
        a.has(QStringLiteral("in")) == a.has(QStringLiteral("new")) || !a.positionals().isEmpty()) {
        if (!a.error().isEmpty()) z5ctl::err(a.error());
        z5ctl::err(QStringLiteral("usage: z5ctl ") + QLatin1String(kUsage));
        return z5ctl::kUsageError;
    }
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

const z5ctl::VerbRegistrar registrar(QStringLiteral("screen-file"), QLatin1String(kUsage), runScreenFile);

} // namespace
