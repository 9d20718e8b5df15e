#pragma once
#include <QByteArray>
#include <cstdint>
#include <deque>

namespace z5 {

// What the line knows of replies that may still come for requests it is done
// with. The controller's replies name neither the request nor the block they
// answer, so a reply is the request's own only when nothing else can be on its
// way: after a clean exchange a reply is taken at any speed; after an exchange
// that ended without its reply, or once the line has shown copies of replies (a
// repeater or converter that echoes), the next request is held back until the
// stale reply or the copy has come and been dropped, or can no longer come.
class StaleReplyGuard {
public:
    // A reply still owed is given up this long after its exchange ended.
    static constexpr int kLateReplyLimitMs = 5500;
    // After stale bytes that may go on were dropped, the line must be quiet this long.
    static constexpr int kQuietAfterStaleMs = 150;
    // Copies of a reply come within this after it.
    static constexpr int kCopyWindowMs = 550;

    // An exchange ended without taking its reply (no reply in time, cancelled):
    // the reply may still come.
    void exchangeEndedWithoutReply(std::int64_t nowMs);
    // Bytes may still be streaming in (the rest of something already on its way):
    // the line must be quiet kQuietAfterStaleMs before the next request.
    void awaitQuiet(std::int64_t nowMs) {
        needsQuiet_ = true;
        quietSinceMs_ = nowMs;
    }
    // A reply was taken as its exchange's own.
    void replyTaken(const QByteArray &reply, std::int64_t nowMs);
    // Bytes that belong to no exchange (beyond a reply, waiting when a request is
    // about to go out, or come while one is held back): dropped. A whole reply
    // among them is the one that was owed; copies of a recent reply show a line
    // that echoes.
    void dropped(const QByteArray &bytes, std::int64_t nowMs);
    // The port was opened again: nothing from before can come any more.
    void reset() { *this = StaleReplyGuard{}; }

    // Whether a request may go out now, or must be held back.
    bool mayGoOut(std::int64_t nowMs) const;
    // Whether a stale reply or a copy is owed.
    bool owesStaleReply(std::int64_t nowMs) const;
    // A complete reply that came in an exchange may be a late copy of a reply
    // taken shortly before: the same bytes within the copy window. Returns when
    // that window ends, or 0 when it cannot be a copy.
    std::int64_t copyWindowOf(const QByteArray &reply, std::int64_t nowMs) const;
    // A reply held as a possible copy was followed by another: it was a copy.
    void copyConfirmed(const QByteArray &copy) { markCopy(copy); }
    // The line has shown that it sends replies more than once.
    bool echoes() const { return echoes_; }

private:
    struct Taken {
        QByteArray bytes;
        std::int64_t atMs = 0;
        bool copySeen = false;
    };
    bool markCopy(const QByteArray &bytes);

    bool staleOwed_ = false;
    std::int64_t staleUntilMs_ = 0;
    bool echoes_ = false;
    // Replies taken within the copy window, oldest first.
    std::deque<Taken> recent_;
    bool needsQuiet_ = false;
    std::int64_t quietSinceMs_ = 0;
    qsizetype droppedSinceReply_ = 0;
};

} // namespace z5
