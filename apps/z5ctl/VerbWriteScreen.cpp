// z5ctl write-screen: writes the operator screen (picture and elements) into the
// controller as the designer's "&Записать в Z5 " does, the closing and the alarm
// texts included.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ScreenInput.h"
#include "TraceFile.h"
#include "WriteSession.h"
#include "download/DownloadChain.h"
#include "download/ProjectDownloadTables.h"
#include "download/ScreenWrite.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("write-screen"), why); }

int runWriteScreen(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    if (const QString problem = z5ctl::portProblem(a); !problem.isEmpty()) return usage(problem);
    if (!a.has(QStringLiteral("picture"))) return usage(QStringLiteral("--picture is required"));
    z5ctl::TraceFile trace;
    if (const QString bad = trace.configure(a); !bad.isEmpty()) return usage(bad);

    z5ctl::WriteSession session(QStringLiteral("write-screen"), a.value(QStringLiteral("port")));
    if (a.has(QStringLiteral("station")) && !session.setStation(a.value(QStringLiteral("station"))))
        return usage(QStringLiteral("--station is 1..8"));

    z5ctl::ScreenInput in;
    if (const int code = in.read(a, usage)) return code;
    z5::ScreenModel &model = in.model;
    {
        // A trial build on a copy: a picture that cannot be sent stops the write
        // before the port is touched.
        z5::ScreenModel trial = model;
        z5::ScreenBuilder builder;
        const z5::ScreenBuilder::Result built = builder.build(trial, in.picture);
        if (!built.ok()) {
            z5ctl::err(in.pictureProblem(built.message));
            return 1;
        }
        // Said before the write: what does not fit is left out of it (below).
        if (!built.warning.isEmpty()) z5ctl::err(QStringLiteral("z5ctl write-screen: ") + built.warning);
    }
    // Only the alarm texts (`Table::AlarmTexts`) come from the tables here; the project stays empty.
    z5::Session &app = session.app;
    session.openRecord(a);
    return trace.run(QStringLiteral("write-screen"), app.line.traffic(), [&] {
        return session.write([&] {
            app.screen = model;
            // A packed picture whose bottom rows do not fit: the command line writes
            // what fits, as the user's "OK" would.
            return app.screenWrite.startScreenWrite(in.picture);
        });
    });
}

const z5ctl::VerbRegistrar registrar({QStringLiteral("write-screen"),
                                      {QStringLiteral("write-screen --port DEV [--station N] --picture FILE [--scd FILE.scd] [--mode rle|packed] [--threshold N] [--trace FILE] [--record FILE]")},
                                      QStringLiteral("Writes the operator screen (the picture, 320 x 240 at most, and the elements of --scd),\nthe closing and the alarm texts. N: colour threshold 0..255.\nThe write is entered in the station record (--record: another file)."),
                                      QStringLiteral("write-screen --port COM4 --picture examples/panel.png --scd examples/panel.scd --mode rle"), runWriteScreen});

} // namespace
