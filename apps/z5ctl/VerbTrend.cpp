// z5ctl trend: reads one trend page into CSV, a workbook or a PDF printout, or
// starts and stops recording.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ReadSession.h"
#include "StopSignals.h"
#include "ProjectInput.h"
#include "link/LineReply.h"
#include "model/AtomicFileSave.h"
#include "model/BlockCatalogue.h"
#include "trends/TrendCsv.h"
#include "trends/TrendPdf.h"
#include "trends/TrendSession.h"
#include "trends/TrendWorkbook.h"
#include <QEventLoop>
#include <QFileInfo>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("trend"), why); }

// A number within [low, high], or -1.
int boundedNumber(const QString &text, int low, int high) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= low && n <= high ? n : -1;
}

int setRecording(z5ctl::ReadSession &session, int column, bool start) {
    if (!session.open()) return z5ctl::kPortFailure;
    z5::TrendSession &trends = session.app.trends;
    trends.setBlock(column);
    // Queued on the line; its reply ends once the frame's bytes have left.
    const std::shared_ptr<z5::LineReply> reply = trends.setRecording(start);
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply.get(), &z5::LineReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    session.line.release();
    if (reply->outcome() != z5::LineOutcome::Reply) {
        const QString why = reply->failure().isEmpty() ? QString() : QStringLiteral(": ") + reply->failure();
        z5ctl::err(QStringLiteral("z5ctl trend: the request could not be sent") + why);
        return z5ctl::kPortFailure;
    }
    z5ctl::out(start ? QStringLiteral("recording started in U%1").arg(column + 1)
                     : QStringLiteral("recording stopped in U%1").arg(column + 1));
    return z5ctl::kDone;
}

// With a netlist, a block that is no trend recorder is refused before the line is
// used (it would never send a page): 0, or the status to end with.
int checkBlockType(const z5ctl::Arguments &a, int column) {
    if (a.positionals().isEmpty()) return 0;
    const z5::ImportResult imported = z5ctl::importNamedNetlist(a);
    if (!imported.ok) return z5ctl::kBadInput;
    const int type = imported.project.blockType(column);
    if (type == z5::BlockType::GRA) return 0;
    z5ctl::err(type == 0 ? QStringLiteral("z5ctl trend: the netlist has no block U%1").arg(column + 1)
                         : QStringLiteral("z5ctl trend: U%1 is a %2 block, not a trend recorder (GRA)")
                               .arg(column + 1)
                               .arg(z5::BlockCatalogue::mnemonic(type)));
    return z5ctl::kBadInput;
}

int runTrend(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("start"), QStringLiteral("stop"), QStringLiteral("auto")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(1); !extra.isEmpty()) return usage(extra);
    if (const QString stray = a.notApplying({QStringLiteral("auto")}, QStringLiteral("without a NETLIST"));
        !stray.isEmpty() && a.positionals().isEmpty())
        return usage(stray);
    z5ctl::ReadSession session(QStringLiteral("trend"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    if (!a.has(QStringLiteral("block"))) return usage(QStringLiteral("--block is required"));
    const int column = z5ctl::blockColumn(a.value(QStringLiteral("block")));
    if (column < 0) return usage(z5ctl::blockRangeProblem());
    if (a.has(QStringLiteral("start")) && a.has(QStringLiteral("stop"))) return usage(QStringLiteral("--start or --stop, not both"));
    if (a.has(QStringLiteral("start")) || a.has(QStringLiteral("stop"))) {
        const QString stray = a.notApplying({QStringLiteral("out"), QStringLiteral("page"), QStringLiteral("params"),
                                             QStringLiteral("decimal"), QStringLiteral("precision"), QStringLiteral("group")},
                                            QStringLiteral("to --start or --stop"));
        if (!stray.isEmpty()) return usage(stray);
        if (const int code = checkBlockType(a, column)) return code;
        return setRecording(session, column, a.has(QStringLiteral("start")));
    }

    const QString outPath = a.value(QStringLiteral("out"));
    const QString suffix = outPath.section(u'.', -1).toLower();
    if (outPath.isEmpty() || (suffix != u"csv" && suffix != u"xlsx" && suffix != u"pdf"))
        return usage(QStringLiteral("--out names a .csv, .xlsx or .pdf file"));
    if (suffix != u"xlsx" && a.has(QStringLiteral("precision")))
        return usage(QStringLiteral("--precision does not apply to a .%1 file (only .xlsx)").arg(suffix));
    if (suffix != u"pdf" && a.has(QStringLiteral("group")))
        return usage(QStringLiteral("--group does not apply to a .%1 file (only .pdf)").arg(suffix));
    if (a.has(QStringLiteral("decimal")) && !a.has(QStringLiteral("params")))
        return usage(QStringLiteral("--decimal does not apply without --params"));
    int page = z5::TrendSession::kCurrentPage;
    if (a.has(QStringLiteral("page"))) {
        page = boundedNumber(a.value(QStringLiteral("page")), z5::TrendPage::kFirstPage, z5::TrendPage::kLastPage);
        if (page < 0) return usage(QStringLiteral("--page is 1..250"));
    }
    const int precision = boundedNumber(a.value(QStringLiteral("precision"), QStringLiteral("0")), 0, 3);
    if (precision < 0) return usage(QStringLiteral("--precision is 0..3 (1, 0,1, 0,01, 0,001)"));
    const int group = boundedNumber(a.value(QStringLiteral("group"), QStringLiteral("0")), 0, 7);
    if (group < 0) return usage(QStringLiteral("--group is 0..7"));
    const std::optional<QChar> decimal = z5ctl::decimalSeparator(a);
    if (!decimal) return usage(z5ctl::decimalSeparatorProblem());
    // Where the page goes is checked before a page is read: a read takes seconds.
    const QFileInfo folder(QFileInfo(outPath).absolutePath());
    if (!folder.isDir() || !folder.isWritable()) {
        z5ctl::err(QStringLiteral("z5ctl trend: cannot write into the folder %1").arg(folder.filePath()));
        return z5ctl::kBadInput;
    }
    if (const QString refused = z5::AtomicFileSave::refusedTarget(outPath); !refused.isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl trend: %1").arg(refused));
        return z5ctl::kBadInput;
    }
    if (const int code = checkBlockType(a, column)) return code;

    const std::optional<z5::TrendChannels> channels = z5ctl::trendChannels(a, *decimal, QStringLiteral("trend"));
    if (!channels) return z5ctl::kBadInput;
    if (!session.open()) return z5ctl::kPortFailure;
    z5::TrendSession &trends = session.app.trends;
    trends.setBlock(column);
    trends.setChannels(*channels);
    QEventLoop loop;
    z5::LineOutcome outcome = z5::LineOutcome::NoReply;
    QObject::connect(&trends, &z5::TrendSession::readEnded, &loop, [&](z5::LineOutcome o) {
        outcome = o;
        loop.quit();
    });
    z5ctl::StopSignals::quitOnStop(loop);
    // A page read that ended at once (the port) has said so already.
    if (trends.readPage(page) && trends.reading()) loop.exec();
    if (z5ctl::StopSignals::received()) {
        trends.cancel();
        session.line.release();
        z5ctl::err(QStringLiteral("z5ctl trend: stopped before the page was read"));
        z5ctl::StopSignals::markReported();
        return z5ctl::StopSignals::exitStatus();
    }
    session.line.release();
    if (outcome != z5::LineOutcome::Reply) {
        z5ctl::err(QStringLiteral("z5ctl trend: no page from station %1 for U%2 (%3)")
                       .arg(session.station())
                       .arg(column + 1)
                       .arg(trends.lastFailureText().replace(u'\n', QStringLiteral(": "))));
        return outcome == z5::LineOutcome::NoNetwork ? z5ctl::kPortFailure : z5ctl::kNoEnd;
    }
    QString error;
    bool written = false;
    if (suffix == u"csv")
        written = z5::TrendCsv::write(outPath, trends.page(), trends.channels(), &error);
    else if (suffix == u"xlsx")
        written = z5::TrendWorkbook::write(outPath, trends.page(), trends.channels(), precision, &error);
    else
        written = z5::TrendPdf::write(outPath, trends.page(), group, trends.channels(), &error);
    if (!written) {
        z5ctl::err(QStringLiteral("z5ctl trend: %1 not written: %2").arg(outPath, error));
        return z5ctl::kBadInput;
    }
    z5ctl::out(QStringLiteral("page %1, %2 rows, %3 requests: %4")
                   .arg(trends.page().pageNumber)
                   .arg(trends.page().rowCount)
                   .arg(trends.requestsSent())
                   .arg(outPath));
    return z5ctl::kDone;
}

const z5ctl::VerbRegistrar registrar({
    QStringLiteral("trend"),
    {QStringLiteral("trend --port DEV [--station N] --block UNN [--page N] [--params FILE.par [--decimal SEP]] "
                    "[[--auto] NETLIST] --out FILE.csv"),
     QStringLiteral("trend --port DEV [--station N] --block UNN [--page N] [--params FILE.par [--decimal SEP]] "
                    "[[--auto] NETLIST] --out FILE.xlsx [--precision 0..3]"),
     QStringLiteral("trend --port DEV [--station N] --block UNN [--page N] [--params FILE.par [--decimal SEP]] "
                    "[[--auto] NETLIST] --out FILE.pdf [--group 0..7]"),
     QStringLiteral("trend --port DEV [--station N] --block UNN [[--auto] NETLIST] --start | --stop")},
    QStringLiteral("Reads one trend page of the trend recorder UNN (U1..U99) into a table, a workbook or a\n"
                   "printout, or starts and stops its recording. N: page 1..250, the current one by default.\n"
                   "--params names the channels; --precision: 1, 0,1, 0,01 or 0,001 in the workbook;\n"
                   "--group: the printout's channel group. With the NETLIST a block that is no GRA is refused."),
    QStringLiteral("trend --port COM4 --block U11 --page 2 --out page2.csv"),
    runTrend});

} // namespace
