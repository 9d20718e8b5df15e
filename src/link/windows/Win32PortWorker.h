#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace z5 {

class PortInbox;
class PortOutbox;

// The one thread that does a COM port's I/O once it is open, with overlapped
// calls on the port's handle: it waits for the driver to report arrivals
// (WaitCommEvent for EV_RXCHAR and EV_ERR) and for written bytes to leave, and
// wakes for bytes newly queued. What arrives, and every line error, goes into
// the inbox at once; what is queued in the outbox is written while earlier
// bytes are not in flight. A failed call ends the thread with its code in the
// inbox (the outbox refuses bytes from then on); the owner learns of it by the
// inbox's notice or at its next call.
//
// The handle is the worker's from start() on: it is closed when the worker is
// stopped, by the owner when the thread ended within the owner's bound, else
// by the thread itself whenever the driver lets it end.
class Win32PortWorker : public std::enable_shared_from_this<Win32PortWorker> {
public:
    // A backstop for drivers that do not report arrivals at once (Wine's reports
    // them tens of milliseconds late): the input queue is looked at this often even
    // when the driver says nothing, and more often for a while after the line was
    // used, when a reply may be on its way.
    static constexpr unsigned long kBackstopMs = 20;
    static constexpr unsigned long kBusyBackstopMs = 2;
    static constexpr unsigned long kBusyForMs = 1000;
    // At most this much is handed to one WriteFile.
    static constexpr int kWriteChunk = 16 * 1024;
    // Waits for an event that the driver ended this often in a row, without an
    // event, make the thread rest until the backstop before it waits again.
    static constexpr int kAbortedWaitsInARow = 3;

    static std::shared_ptr<Win32PortWorker> start(void *handle, std::shared_ptr<PortInbox> inbox,
                                                  std::shared_ptr<PortOutbox> outbox);
    ~Win32PortWorker();
    Win32PortWorker(const Win32PortWorker &) = delete;
    Win32PortWorker &operator=(const Win32PortWorker &) = delete;

    // Bytes were queued: they go out without waiting for the backstop.
    void wake();
    // Ends the thread: what it has under way is aborted and cancelled. True when
    // it ended within ms and the handle is closed; false when the driver holds
    // it, and the thread closes the handle whenever it ends.
    bool stop(int ms);

private:
    Win32PortWorker(void *handle, std::shared_ptr<PortInbox> inbox, std::shared_ptr<PortOutbox> outbox);
    void run();
    // Moves what the driver holds into the inbox (up to the inbox's room) and
    // reports the line errors it saw; false when the port failed.
    bool takeArrivals(void *readEvent);
    void failed(unsigned long code);
    void ended();

    void *handle_;
    void *wake_;
    std::shared_ptr<PortInbox> inbox_;
    std::shared_ptr<PortOutbox> outbox_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool stopping_ = false;
    bool ended_ = false;
    bool abandoned_ = false;
};

} // namespace z5
