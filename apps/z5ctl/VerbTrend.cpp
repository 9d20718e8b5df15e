// z5ctl trend: reads one trend page into CSV, a workbook or a PDF printout, or
// starts and stops recording.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ReadSession.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileCommands.h"
#include "trends/TrendCsv.h"
#include "trends/TrendPdf.h"
#include "trends/TrendSession.h"
#include "trends/TrendWorkbook.h"
#include <QEventLoop>
#include <QLocale>

namespace {

const QString kUsage = QStringLiteral(
    "trend --port DEV [--station N] --block UNN [--page N] [--params FILE.par] [--decimal SEP]\n"
    "        --out FILE.csv | --out FILE.xlsx [--precision 0..3] | --out FILE.pdf [--group 0..7]\n"
    "  trend --port DEV [--station N] --block UNN --start | --stop");

int usage(const QString &why) {
    z5ctl::err(QStringLiteral("z5ctl trend: %1").arg(why));
    z5ctl::err(QStringLiteral("usage: z5ctl ") + kUsage);
    return z5ctl::kUsageError;
}

// A number within [low, high], or -1.
int boundedNumber(const QString &text, int low, int high) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= low && n <= high ? n : -1;
}

int setRecording(z5ctl::ReadSession &session, int column, bool start) {
    if (!session.open()) return z5ctl::kPortFailure;
    const bool sent = session.app.trendLine.sendRecording(column, start);
    session.port.close();
    if (!sent) {
        z5ctl::err(QStringLiteral("z5ctl trend: the request could not be sent"));
        return z5ctl::kPortFailure;
    }
    z5ctl::out(start ? QStringLiteral("recording started in U%1").arg(column + 1)
                     : QStringLiteral("recording stopped in U%1").arg(column + 1));
    return z5ctl::kDone;
}

int runTrend(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("start"), QStringLiteral("stop")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (!a.positionals().isEmpty()) return usage(QStringLiteral("unexpected '%1'").arg(a.positionals().first()));
    z5ctl::ReadSession session(QStringLiteral("trend"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    const int column = z5ctl::blockColumn(a.value(QStringLiteral("block")));
    if (column < 0) return usage(QStringLiteral("--block is a designator U1..U99"));
    if (a.has(QStringLiteral("start")) && a.has(QStringLiteral("stop"))) return usage(QStringLiteral("--start or --stop, not both"));
    if (a.has(QStringLiteral("start")) || a.has(QStringLiteral("stop")))
        return setRecording(session, column, a.has(QStringLiteral("start")));

    const QString outPath = a.value(QStringLiteral("out"));
    const QString suffix = outPath.section(u'.', -1).toLower();
    if (outPath.isEmpty() || (suffix != u"csv" && suffix != u"xlsx" && suffix != u"pdf"))
        return usage(QStringLiteral("--out names a .csv, .xlsx or .pdf file"));
    int page = z5::TrendSession::kCurrentPage;
    if (a.has(QStringLiteral("page"))) {
        page = boundedNumber(a.value(QStringLiteral("page")), z5::TrendPage::kFirstPage, z5::TrendPage::kLastPage);
        if (page < 0) return usage(QStringLiteral("--page is 1..250"));
    }
    const int precision = boundedNumber(a.value(QStringLiteral("precision"), QStringLiteral("0")), 0, 3);
    if (precision < 0) return usage(QStringLiteral("--precision is 0..3 (1, 0,1, 0,01, 0,001)"));
    const int group = boundedNumber(a.value(QStringLiteral("group"), QStringLiteral("0")), 0, 7);
    if (group < 0) return usage(QStringLiteral("--group is 0..7"));
    const QString decimal = a.value(QStringLiteral("decimal"), QLocale::system().decimalPoint());
    if (decimal.size() != 1) return usage(QStringLiteral("--decimal takes one character"));

    z5::ParameterStore store;
    if (a.has(QStringLiteral("params"))) {
        z5::ParameterFileCommands files(store, session.prompts, decimal.at(0));
        if (!files.loadFrom(a.value(QStringLiteral("params")))) {
            for (const auto &m : session.prompts.messages) z5ctl::err(QStringLiteral("z5ctl trend: ") + m.text);
            return z5ctl::kBadInput;
        }
    }
    if (!session.open()) return z5ctl::kPortFailure;
    z5::TrendSession &trends = session.app.trends;
    trends.setBlock(column);
    trends.setChannels(z5::TrendChannels::fromStore(store));
    QEventLoop loop;
    z5::TrendSession::Outcome outcome = z5::TrendSession::Outcome::NoReply;
    QObject::connect(&trends, &z5::TrendSession::readEnded, &loop, [&](z5::TrendSession::Outcome o) {
        outcome = o;
        loop.quit();
    });
    if (trends.readPage(page)) loop.exec();
    session.port.close();
    if (outcome != z5::TrendSession::Outcome::Read) {
        z5ctl::err(QStringLiteral("z5ctl trend: no page from station %1 for U%2 (%3)")
                       .arg(session.station())
                       .arg(column + 1)
                       .arg(trends.lastFailureText().replace(u'\n', QStringLiteral(": "))));
        return outcome == z5::TrendSession::Outcome::NoNetwork ? z5ctl::kPortFailure : z5ctl::kNoEnd;
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

const z5ctl::VerbRegistrar registrar(QStringLiteral("trend"), kUsage, runTrend);

} // namespace
