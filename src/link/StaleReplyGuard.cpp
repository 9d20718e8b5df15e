#include "link/StaleReplyGuard.h"
#include "link/WireSizes.h"
#include <algorithm>

namespace z5 {

void StaleReplyGuard::exchangeEndedWithoutReply(std::int64_t nowMs) {
    staleOwed_ = true;
    staleUntilMs_ = nowMs + kLateReplyLimitMs;
    droppedSinceReply_ = 0;
}

void StaleReplyGuard::replyTaken(const QByteArray &reply, std::int64_t nowMs) {
    while (recent_.size() >= 8) recent_.pop_front();
    recent_.push_back({reply.left(wire::kBlockReplyLength), nowMs, false});
    droppedSinceReply_ = 0;
}

bool StaleReplyGuard::markCopy(const QByteArray &bytes) {
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it) {
        const qsizetype n = std::min<qsizetype>(bytes.size(), it->bytes.size());
        if (n > 0 && bytes.left(n) == it->bytes.left(n)) {
            it->copySeen = true;
            echoes_ = true;
            return true;
        }
    }
    return false;
}

void StaleReplyGuard::dropped(const QByteArray &bytes, std::int64_t nowMs) {
    if (bytes.isEmpty()) return;
    const bool wasOwed = staleOwed_;
    const bool copy = droppedSinceReply_ == 0 && markCopy(bytes);
    droppedSinceReply_ += bytes.size();
    // A whole reply's worth has come and gone: the one owed.
    if (droppedSinceReply_ >= wire::kBlockReplyLength) staleOwed_ = false;
    // Quiet is needed when what came may go on: part of a reply, more copies,
    // or more of a far end that was late.
    needsQuiet_ = copy || wasOwed || droppedSinceReply_ % wire::kBlockReplyLength != 0;
    quietSinceMs_ = nowMs;
}

bool StaleReplyGuard::owesStaleReply(std::int64_t nowMs) const {
    if (staleOwed_ && nowMs < staleUntilMs_) return true;
    if (!echoes_) return false;
    for (const Taken &t : recent_)
        if (!t.copySeen && nowMs - t.atMs < kCopyWindowMs) return true;
    return false;
}

bool StaleReplyGuard::mayGoOut(std::int64_t nowMs) const {
    if (owesStaleReply(nowMs)) return false;
    return !needsQuiet_ || nowMs - quietSinceMs_ >= kQuietAfterStaleMs;
}

std::int64_t StaleReplyGuard::copyWindowOf(const QByteArray &reply, std::int64_t nowMs) const {
    const QByteArray head = reply.left(wire::kBlockReplyLength);
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it)
        if (!it->copySeen && nowMs - it->atMs < kCopyWindowMs && head == it->bytes) return it->atMs + kCopyWindowMs;
    return 0;
}

} // namespace z5
