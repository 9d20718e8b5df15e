#pragma once
#include "link/LineErrors.h"
#include <QByteArray>
#include <functional>
#include <mutex>

namespace z5 {

// What a port's reader thread hands over to the thread that owns the port:
// the bytes that arrived, the line errors its receiver saw, and the failure
// that ended the reading. Safe to use from both threads.
//
// The owner is told through a notifier (typically a call queued to its event
// loop), once for any number of deliveries until it takes the notice: a burst
// of small arrivals costs one call on the owner's side, not one each.
class PortInbox {
public:
    // The notifier runs on the reader's thread, inside the inbox's lock: it
    // must only post (never call back into the inbox).
    using Notifier = std::function<void()>;

    explicit PortInbox(qsizetype bound) : bound_(bound) {}

    // --- The reader's side ---
    // How many more bytes may be put before the bound: the rest waits in the
    // driver until the owner takes what is here.
    qsizetype room() const;
    void put(const char *bytes, qsizetype length);
    void putErrors(LineErrors errors);
    // The reading ended: the first failure is kept (a non-zero system code).
    void putFailure(unsigned long code);

    // --- The owner's side ---
    // Replaces the notifier; returns once no notifier call is under way, so
    // that whatever the old one posted to can go afterwards.
    void setNotifier(Notifier notifier);
    // The owner handles a notice: the next delivery notifies again.
    void noticeTaken();
    qsizetype size() const;
    QByteArray takeAll();
    LineErrors takeErrors();
    unsigned long failure() const;
    // Forgets everything, for a port opened again.
    void clear();

private:
    // Called with the lock held.
    void notifyLocked();

    const qsizetype bound_;
    mutable std::mutex mutex_;
    QByteArray bytes_;
    LineErrors errors_;
    unsigned long failure_ = 0;
    bool noticePending_ = false;
    Notifier notifier_;
};

} // namespace z5
