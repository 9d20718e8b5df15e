#include "link/windows/Win32PortWorker.h"
#include "link/PortInbox.h"
#include "link/PortOutbox.h"
#include "link/windows/Win32SerialPort.h"
#include <QByteArray>
#include <chrono>
#include <windows.h>

namespace z5 {
namespace {

HANDLE asHandle(void *handle) { return static_cast<HANDLE>(handle); }

// An OVERLAPPED with its own manual-reset event, for one kind of call at a time.
struct Overlapped {
    OVERLAPPED ov{};
    Overlapped() { ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Overlapped() {
        if (ov.hEvent) CloseHandle(ov.hEvent);
    }
    Overlapped(const Overlapped &) = delete;
    Overlapped &operator=(const Overlapped &) = delete;
    void rearm() {
        const HANDLE event = ov.hEvent;
        ov = OVERLAPPED{};
        ov.hEvent = event;
        ResetEvent(event);
    }
};

} // namespace

std::shared_ptr<Win32PortWorker> Win32PortWorker::start(void *handle, std::shared_ptr<PortInbox> inbox,
                                                        std::shared_ptr<PortOutbox> outbox) {
    std::shared_ptr<Win32PortWorker> worker(new Win32PortWorker(handle, std::move(inbox), std::move(outbox)));
    // The thread holds the worker too: one the owner gave up on still has it.
    worker->thread_ = std::thread([self = worker] { self->run(); });
    return worker;
}

Win32PortWorker::Win32PortWorker(void *handle, std::shared_ptr<PortInbox> inbox, std::shared_ptr<PortOutbox> outbox)
    : handle_(handle), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), inbox_(std::move(inbox)),
      outbox_(std::move(outbox)) {}

Win32PortWorker::~Win32PortWorker() {
    if (thread_.joinable()) thread_.detach();   // only the thread itself can be last here
    if (wake_) CloseHandle(asHandle(wake_));
}

void Win32PortWorker::wake() { SetEvent(asHandle(wake_)); }

bool Win32PortWorker::stop(int ms) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    SetEvent(asHandle(wake_));
    // Whatever waits in the driver is aborted, from this thread too: a wait on
    // the driver must not hold the owner.
    PurgeComm(asHandle(handle_), PURGE_RXABORT | PURGE_TXABORT | PURGE_RXCLEAR | PURGE_TXCLEAR);
    CancelIoEx(asHandle(handle_), nullptr);
    std::unique_lock<std::mutex> lock(mutex_);
    if (!finished_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return ended_; })) {
        abandoned_ = true;
        lock.unlock();
        thread_.detach();
        return false;
    }
    lock.unlock();
    thread_.join();
    CloseHandle(asHandle(handle_));
    return true;
}

void Win32PortWorker::failed(unsigned long code) {
    {
        // Calls aborted by the owner's stop are no failure of the port. The
        // reason goes first: whoever finds the outbox refusing finds it too.
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!stopping_) inbox_->putFailure(code);
    }
    outbox_->fail();
}

bool Win32PortWorker::takeArrivals(void *readEvent) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(asHandle(handle_), &errors, &status)) {
        failed(GetLastError());
        return false;
    }
    inbox_->putErrors(Win32SerialPort::lineErrorsOf(errors));
    const qsizetype wanted = qMin<qsizetype>(qsizetype(status.cbInQue), inbox_->room());
    if (wanted <= 0) return true;
    QByteArray buffer(wanted, Qt::Uninitialized);
    OVERLAPPED ov{};
    ov.hEvent = asHandle(readEvent);
    ResetEvent(ov.hEvent);
    DWORD got = 0;
    // The port's timeouts make a read return at once with what is waiting.
    if (!ReadFile(asHandle(handle_), buffer.data(), DWORD(wanted), &got, &ov)) {
        const DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING || !GetOverlappedResult(asHandle(handle_), &ov, &got, TRUE)) {
            failed(code != ERROR_IO_PENDING ? code : GetLastError());
            return false;
        }
    }
    inbox_->put(buffer.constData(), qsizetype(got));
    return true;
}

void Win32PortWorker::run() {
    const HANDLE port = asHandle(handle_);
    Overlapped waiting;
    Overlapped writing;
    Overlapped reading;
    bool waitPending = false;
    bool writePending = false;
    DWORD eventMask = 0;
    int waitsAborted = 0;
    QByteArray chunk;   // what is in flight; the driver reads it until the write completes
    const auto stopping = [this] {
        const std::lock_guard<std::mutex> lock(mutex_);
        return stopping_;
    };
    // The input is looked at when the driver told of an event, at the backstop, and
    // after a wait that ended without one; not when only a write ended (a query
    // while a wait is pending ends that wait on some drivers).
    bool lookAtInput = true;
    DWORD lastUsed = GetTickCount();   // the last write or arrival
    while (!stopping()) {
        if (lookAtInput) {
            const qsizetype before = inbox_->size();
            if (!takeArrivals(reading.ov.hEvent)) break;
            if (inbox_->size() != before) lastUsed = GetTickCount();
        }
        lookAtInput = false;
        // Something done at once (an event already there, a write the driver
        // took whole): the loop goes round again instead of waiting.
        bool doneAtOnce = false;
        if (!waitPending) {
            waiting.rearm();
            if (WaitCommEvent(port, &eventMask, &waiting.ov)) {
                doneAtOnce = true;
                lookAtInput = true;
            } else if (const DWORD code = GetLastError(); code != ERROR_IO_PENDING) {
                failed(code);
                break;
            } else {
                waitPending = true;
            }
        }
        if (!writePending) {
            chunk = outbox_->take(kWriteChunk);
            if (!chunk.isEmpty()) {
                lastUsed = GetTickCount();
                writing.rearm();
                DWORD written = 0;
                if (WriteFile(port, chunk.constData(), DWORD(chunk.size()), &written, &writing.ov)) {
                    if (written != DWORD(chunk.size())) {
                        failed(ERROR_WRITE_FAULT);
                        break;
                    }
                    outbox_->sent();
                    doneAtOnce = true;
                } else if (const DWORD code = GetLastError(); code != ERROR_IO_PENDING) {
                    failed(code);
                    break;
                } else {
                    writePending = true;
                }
            }
        }
        if (doneAtOnce) continue;
        // An event left set by a call that is over would wake the wait at once, again and again.
        if (!writePending) ResetEvent(writing.ov.hEvent);
        const HANDLE events[] = {waiting.ov.hEvent, writing.ov.hEvent, asHandle(wake_)};
        const DWORD backstop = GetTickCount() - lastUsed < kBusyForMs ? kBusyBackstopMs : kBackstopMs;
        const DWORD woke = WaitForMultipleObjects(3, events, FALSE, backstop);
        if (woke == WAIT_OBJECT_0 && waitPending) {
            DWORD ignored = 0;
            waitPending = false;
            lookAtInput = true;
            if (GetOverlappedResult(port, &waiting.ov, &ignored, FALSE)) {
                waitsAborted = 0;
            } else if (const DWORD code = GetLastError(); code != ERROR_OPERATION_ABORTED) {
                failed(code);
                break;
            } else if (++waitsAborted > kAbortedWaitsInARow) {
                // Some drivers (Wine's among them) end a pending wait when a write
                // starts; a lost device shows in the next query. A wait ended again
                // and again at once is not started again before the backstop.
                WaitForSingleObject(asHandle(wake_), backstop);
            }
        } else if (woke == WAIT_OBJECT_0 + 1 && writePending) {
            DWORD written = 0;
            writePending = false;
            if (!GetOverlappedResult(port, &writing.ov, &written, FALSE)) {
                failed(GetLastError());
                break;
            }
            if (written != DWORD(chunk.size())) {
                failed(ERROR_WRITE_FAULT);
                break;
            }
            outbox_->sent();
        } else if (woke == WAIT_TIMEOUT) {
            lookAtInput = true;
        } else if (woke == WAIT_FAILED) {
            failed(GetLastError());
            break;
        }
    }
    // The OVERLAPPED structures must outlive their calls: cancel and wait for them.
    if (waitPending || writePending) {
        CancelIo(port);
        DWORD ignored = 0;
        if (waitPending) GetOverlappedResult(port, &waiting.ov, &ignored, TRUE);
        if (writePending) GetOverlappedResult(port, &writing.ov, &ignored, TRUE);
    }
    // Bytes still queued when the thread ends will not leave.
    if (writePending || outbox_->pending() > 0) outbox_->fail();
    ended();
}

void Win32PortWorker::ended() {
    std::unique_lock<std::mutex> lock(mutex_);
    ended_ = true;
    if (abandoned_) {
        lock.unlock();
        CloseHandle(asHandle(handle_));
        return;
    }
    lock.unlock();
    finished_.notify_all();
}

} // namespace z5
