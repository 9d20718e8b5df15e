#pragma once
#include "link/LineOutcome.h"
#include "trends/ArchivePages.h"
#include "trends/TrendSession.h"
#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <set>

namespace z5 {

class Clock;
class LineSession;

// Reads pages first..last of a recorder's archive one after another and stores
// each in an ArchivePages store as soon as it is whole. Each page is one read
// in the line owner's queue, so whatever else waits for the line goes out
// between two pages. A page's first part tells what page it is: one already
// stored finished is not read further, except the page the controller is
// recording now, which is read whole every time. A page that was the recorded
// one when it was stored, and that the recorder has since left, is read again
// before the run ends; so is a page during whose read recording moved on to or
// away from it (its parts may come from either side of the move).
// The run goes on by itself after an unplugged adapter is back (from the part
// it was on) and after a part that did not come (that part again, up to
// kRetriesOfAPart times in a row); a restart of the program skips what was stored.
// A page is stored with the rows valid when it was read.
class ArchiveRead : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetriesOfAPart = 3;
    // A page whose parts straddle a move of the recording is read at most this often.
    static constexpr int kReadsOfAMovingPage = 3;

    struct Progress {
        int pagesDone = 0;       // stored, skipped or found empty
        int pages = 0;           // in the run, pages read again included
        int partsIn = 0;         // of the page under way
        int parts = TrendPageAssembler::kParts;
        int stored = 0;
        int skipped = 0;         // stored before: only their first part was read
        std::int64_t msLeft = -1;  // estimate; -1 before the first part
    };

    ArchiveRead(Clock &clock, LineSession &line, ArchivePages &store, QObject *parent = nullptr);
    ~ArchiveRead() override;

    // Starts the run over pages first..last (each clamped to 1..250, first <= last)
    // of the recorder at `column` of `station` (the station only names the pages).
    void start(int station, int column, int first, int last);
    // Gives the run up quietly; pages stored so far stay.
    void cancel();
    bool running() const { return running_; }
    const Progress &progress() const { return progress_; }
    // Why the run failed, as the user is told it.
    QString failureText() const { return failure_; }
    // The page being recorded as the latest part read named it (0 before any).
    int recordingPage() const { return recordingPage_; }
    // The run ended (Cancelled) because a page could not be stored; failureText says why.
    bool storeFailed() const { return storeFailed_; }

signals:
    void progressed(const z5::ArchiveRead::Progress &progress);
    void pageStored(int pageNumber, z5::ArchivePages::Put how);
    // The adapter went away; the run goes on once it is back.
    void interrupted();
    // Reply: every page done; NoReply, NoNetwork, NotDrained (failureText says
    // why) or Cancelled by the line owner. A store that failed ends as NotDrained.
    void finished(z5::LineOutcome outcome);

private:
    void readNext();
    void startPage();
    bool wantsWhole(const TrendPage &opening, int recordingPage) const;
    void onReadEnded(LineOutcome outcome);
    void onPageRead();
    void finish(LineOutcome outcome, const QString &why = QString());
    void report();

    Clock &clock_;
    LineSession &line_;
    ArchivePages &store_;
    TrendSession session_;
    std::deque<int> pending_;
    int station_ = 1;
    int column_ = 0;
    int page_ = 0;               // under way
    int readsOfPage_ = 0;
    int retries_ = 0;
    int recordingPage_ = 0;
    // Pages stored unfinished in this run: read again once recording has left them.
    std::set<int> storedWhileRecorded_;
    std::set<int> readAgain_;
    bool running_ = false;
    bool awaitingAdapter_ = false;
    bool storeFailed_ = false;
    std::int64_t startedMs_ = 0;
    int partsRead_ = 0;
    Progress progress_;
    QString failure_;
};

} // namespace z5
