// z5ctl archive: reads the pages of a trend recorder's archive into the record,
// each page stored as soon as it is whole; pages stored before are not read again.
#include "CommandLine.h"
#include "ExitCodes.h"
#include "ReadSession.h"
#include "StopSignals.h"
#include "record/ArchivePageStore.h"
#include "record/RecordPlace.h"
#include "trends/ArchiveRead.h"
#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

namespace {

int usage(const QString &why) { return z5ctl::usageError(QStringLiteral("archive"), why); }

// "A-B" or "N" within 1..250, A <= B; nothing when it is not one.
std::optional<std::pair<int, int>> pageRange(const QString &text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,3})(?:-(\\d{1,3}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const int first = m.captured(1).toInt();
    const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
    if (first < z5::TrendPage::kFirstPage || last > z5::TrendPage::kLastPage || first > last) return std::nullopt;
    return std::make_pair(first, last);
}

QString minutesText(std::int64_t ms) {
    if (ms < 0) return QStringLiteral("?");
    const std::int64_t s = (ms + 999) / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString progressLine(const z5::ArchiveRead::Progress &p) {
    return QStringLiteral("z5ctl archive: %1 of %2 pages (%3 stored, %4 stored before), about %5 left")
        .arg(p.pagesDone)
        .arg(p.pages)
        .arg(p.stored)
        .arg(p.skipped)
        .arg(minutesText(p.msLeft));
}

int runArchive(const QStringList &args) {
    const z5ctl::Arguments a(args, {QStringLiteral("all")});
    if (!a.error().isEmpty()) return usage(a.error());
    if (const QString extra = a.surplus(0); !extra.isEmpty()) return usage(extra);
    z5ctl::ReadSession session(QStringLiteral("archive"));
    const QString wrong = session.configure(a);
    if (!wrong.isEmpty()) return usage(wrong);
    if (!a.has(QStringLiteral("block"))) return usage(QStringLiteral("--block is required"));
    const int column = z5ctl::blockColumn(a.value(QStringLiteral("block")));
    if (column < 0) return usage(z5ctl::blockRangeProblem());
    if (a.has(QStringLiteral("all")) && a.has(QStringLiteral("pages"))) return usage(QStringLiteral("--pages or --all, not both"));
    std::pair<int, int> pages{z5::TrendPage::kFirstPage, z5::TrendPage::kLastPage};
    if (a.has(QStringLiteral("pages"))) {
        const auto range = pageRange(a.value(QStringLiteral("pages")));
        if (!range) return usage(QStringLiteral("--pages is A-B or N, pages 1..250, A not after B"));
        pages = *range;
    }
    if (a.has(QStringLiteral("record")) && a.value(QStringLiteral("record")).isEmpty())
        return usage(QStringLiteral("--record needs a file name"));

    const QString recordPath = z5::stationRecordPathToWrite(a.value(QStringLiteral("record")));
    z5::ArchivePageStore store;
    QString problem;
    if (!store.open(recordPath, &problem)) {
        z5ctl::err(QStringLiteral("z5ctl archive: the record %1 cannot be opened: %2").arg(recordPath, problem));
        return z5ctl::kBadInput;
    }
    if (!session.open()) return z5ctl::kPortFailure;

    z5::ArchiveRead archive(session.clock, session.line, store);
    QEventLoop loop;
    z5::LineOutcome outcome = z5::LineOutcome::NoReply;
    int lastDone = -1;
    QObject::connect(&archive, &z5::ArchiveRead::progressed, [&](const z5::ArchiveRead::Progress &p) {
        // One line a page: the parts of a page come too fast to be worth a line each.
        if (p.pagesDone == lastDone) return;
        lastDone = p.pagesDone;
        z5ctl::err(progressLine(p));
    });
    QObject::connect(&archive, &z5::ArchiveRead::interrupted, [&] {
        z5ctl::err(QStringLiteral("z5ctl archive: the port is gone; the read goes on when it is back"));
    });
    QObject::connect(&archive, &z5::ArchiveRead::finished, &loop, [&](z5::LineOutcome o) {
        outcome = o;
        loop.quit();
    });
    z5ctl::StopSignals::quitOnStop(loop);
    archive.start(session.station(), column, pages.first, pages.second);
    if (archive.running()) loop.exec();
    const z5::ArchiveRead::Progress done = archive.progress();
    if (z5ctl::StopSignals::received()) {
        archive.cancel();
        session.line.release();
        z5ctl::err(QStringLiteral("z5ctl archive: stopped after %1 of %2 pages; the pages stored stay").arg(done.pagesDone).arg(done.pages));
        z5ctl::StopSignals::markReported();
        return z5ctl::StopSignals::exitStatus();
    }
    session.line.release();
    if (archive.storeFailed()) {
        z5ctl::err(QStringLiteral("z5ctl archive: the record %1 cannot take a page: %2").arg(recordPath, archive.failureText()));
        return z5ctl::kBadInput;
    }
    if (outcome != z5::LineOutcome::Reply) {
        z5ctl::err(QStringLiteral("z5ctl archive: stopped after %1 of %2 pages, no page from station %3 for U%4 (%5)")
                       .arg(done.pagesDone)
                       .arg(done.pages)
                       .arg(session.station())
                       .arg(column + 1)
                       .arg(archive.failureText().replace(u'\n', QStringLiteral(": "))));
        return outcome == z5::LineOutcome::NoNetwork || outcome == z5::LineOutcome::NotDrained ? z5ctl::kPortFailure
                                                                                                 : z5ctl::kNoEnd;
    }
    z5ctl::out(QStringLiteral("%1 pages: %2 stored, %3 stored before, %4 without rows; recording in page %5: %6")
                   .arg(done.pages)
                   .arg(done.stored)
                   .arg(done.skipped)
                   .arg(done.pagesDone - done.stored - done.skipped)
                   .arg(archive.recordingPage())
                   .arg(QFileInfo(recordPath).absoluteFilePath()));
    return z5ctl::kDone;
}

const z5ctl::VerbRegistrar registrar({
    QStringLiteral("archive"),
    {QStringLiteral("archive --port DEV [--station N] --block UNN [--pages A-B | --all] [--record FILE]")},
    QStringLiteral("Reads the pages of the trend recorder UNN (U1..U99) into the record, each page as soon as\n"
                   "it is whole. A-B: pages 1..250 (or one page N); all of them by default. Pages stored\n"
                   "before are not read again, except the page being recorded now. Progress goes to\n"
                   "standard error. FILE: the record, the user's own by default."),
    QStringLiteral("archive --port COM4 --block U11 --pages 1-3 --record boiler.sqlite"),
    runArchive});

} // namespace
