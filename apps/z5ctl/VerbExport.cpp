// z5ctl export: the rows a record holds of one trend recorder, over a time range
// or all of them, into a CSV table or a workbook laid out as a trend page's.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ProjectInput.h"
#include "model/AtomicFileSave.h"
#include "record/ArchivePageStore.h"
#include "trends/ArchiveHistory.h"
#include "trends/TrendCsv.h"
#include "trends/TrendWorkbook.h"
#include <QFileInfo>
#include <QRegularExpression>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("export"), why); }

// "2026-12-06", "2026-12-06 14:05" or "2026-12-06T14:05:30" on the controller's
// clock; a date alone is the start of that day for --from and its end for --to.
// Invalid when the text is none of these.
QDateTime rangeTime(const QString &text, bool rangeEnd) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) return QDateTime();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (m.captured(4).isEmpty()) {
        if (!date.isValid()) return QDateTime();
        return QDateTime(date, rangeEnd ? QTime(23, 59, 59) : QTime(0, 0), Qt::UTC);
    }
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
    if (!date.isValid() || !time.isValid()) return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

int runExport(const QStringList &args) {
    const z5ctl::Arguments a(args, {});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    const QString recordPath = a.value(QStringLiteral("record"));
    if (recordPath.isEmpty()) return usage(QStringLiteral("--record names the record file"));
    if (!a.has(QStringLiteral("block"))) return usage(QStringLiteral("--block is required"));
    const int column = z5ctl::blockColumn(a.value(QStringLiteral("block")));
    if (column < 0) return usage(z5ctl::blockRangeProblem());
    int station = 1;
    if (a.has(QStringLiteral("station"))) {
        bool ok = false;
        station = a.value(QStringLiteral("station")).toInt(&ok);
        if (!ok || station < 1 || station > 8) return usage(QStringLiteral("--station is 1..8"));
    }
    QDateTime from, to;
    if (a.has(QStringLiteral("from")) && !(from = rangeTime(a.value(QStringLiteral("from")), false)).isValid())
        return usage(QStringLiteral("--from is YYYY-MM-DD[ HH:MM[:SS]]"));
    if (a.has(QStringLiteral("to")) && !(to = rangeTime(a.value(QStringLiteral("to")), true)).isValid())
        return usage(QStringLiteral("--to is YYYY-MM-DD[ HH:MM[:SS]]"));
    if (from.isValid() && to.isValid() && to < from) return usage(QStringLiteral("--to is before --from"));
    const QString outPath = a.value(QStringLiteral("out"));
    const QString suffix = outPath.section(u'.', -1).toLower();
    if (outPath.isEmpty() || (suffix != u"csv" && suffix != u"xlsx"))
        return usage(QStringLiteral("--out names a .csv or .xlsx file"));
    if (suffix != u"xlsx" && a.has(QStringLiteral("precision")))
        return usage(QStringLiteral("--precision does not apply to a .%1 file (only .xlsx)").arg(suffix));
    bool precisionOk = false;
    const int precision = a.value(QStringLiteral("precision"), QStringLiteral("0")).toInt(&precisionOk);
    if (!precisionOk || precision < 0 || precision > 3) return usage(QStringLiteral("--precision is 0..3 (1, 0,1, 0,01, 0,001)"));
    if (a.has(QStringLiteral("decimal")) && !a.has(QStringLiteral("params")))
        return usage(QStringLiteral("--decimal does not apply without --params"));
    const std::optional<QChar> decimal = z5ctl::decimalSeparator(a);
    if (!decimal) return usage(z5ctl::decimalSeparatorProblem());

    if (!QFileInfo(recordPath).isFile()) {
        z5ctl::err(QStringLiteral("z5ctl export: there is no record %1").arg(recordPath));
        return z5ctl::kBadInput;
    }
    if (const QString refused = z5::AtomicFileSave::refusedTarget(outPath); !refused.isEmpty()) {
        z5ctl::err(QStringLiteral("z5ctl export: %1").arg(refused));
        return z5ctl::kBadInput;
    }
    const std::optional<z5::TrendChannels> channels = z5ctl::trendChannels(a, *decimal, QStringLiteral("export"));
    if (!channels) return z5ctl::kBadInput;
    z5::ArchivePageStore store;
    QString problem;
    if (!store.open(recordPath, &problem)) {
        z5ctl::err(QStringLiteral("z5ctl export: the record %1 cannot be opened: %2").arg(recordPath, problem));
        return z5ctl::kBadInput;
    }
    const z5::ArchiveHistory history = z5::ArchiveHistory::fromPages(store.pages(station, column, from, to), from, to);
    const bool written = suffix == u"csv" ? z5::TrendCsv::write(outPath, history, *channels, &problem)
                                          : z5::TrendWorkbook::write(outPath, history, *channels, precision, &problem);
    if (!written) {
        z5ctl::err(QStringLiteral("z5ctl export: %1 not written: %2").arg(outPath, problem));
        return z5ctl::kBadInput;
    }
    const QString span = history.isEmpty() ? QStringLiteral("no rows stored for U%1 in that range").arg(column + 1)
                                           : QStringLiteral("%1 rows from %2 to %3, %4 gaps")
                                                 .arg(history.rowCount())
                                                 .arg(z5::ArchiveHistory::timeText(history.first()),
                                                      z5::ArchiveHistory::timeText(history.last()))
                                                 .arg(history.gapCount());
    z5ctl::out(QStringLiteral("%1: %2").arg(span, outPath));
    return z5ctl::kDone;
}

const z5ctl::VerbRegistrar registrar({
    QStringLiteral("export"),
    {QStringLiteral("export --record FILE [--station N] --block UNN [--from TIME] [--to TIME] "
                    "[--params FILE.par [--decimal SEP]] --out FILE.csv"),
     QStringLiteral("export --record FILE [--station N] --block UNN [--from TIME] [--to TIME] "
                    "[--params FILE.par [--decimal SEP]] --out FILE.xlsx [--precision 0..3]")},
    QStringLiteral("Writes the rows the record FILE holds of the trend recorder UNN (U1..U99) of station N\n"
                   "(1 by default) into a table or a workbook laid out as a trend page's, one date-and-time\n"
                   "column for the row numbers' times. TIME: YYYY-MM-DD[ HH:MM[:SS]] on the controller's\n"
                   "clock; a date alone is its whole day. Without a range: every row stored. --params names\n"
                   "the channels (and the workbook's title) from the parameter file; 1 to 32 without it."),
    QStringLiteral("export --record boiler.sqlite --block U11 --from 2026-12-01 --to 2026-12-07 --out week.xlsx"),
    runExport});

} // namespace
