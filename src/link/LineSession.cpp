#include "link/LineSession.h"
#include "link/PortIdentity.h"
#include "link/SerialDevices.h"
#include "link/SerialPort.h"
#include "link/WriteSequencer.h"
#include "model/Clock.h"
#include <algorithm>
#include <vector>

namespace z5 {
namespace {

// Work on the port itself, queued like any request.
class PortWork : public LineReply {
public:
    enum Action { Open, Release, Port, Station, Device };
    PortWork(int action, int number, const QString &device)
        : LineReply(Request(), 0, Kind::PortWork), action(action), number(number), device(device) {}
    const int action;
    const int number;
    const QString device;
};

} // namespace

LineSession::LineSession(SerialPort &port, Clock &clock, QObject *parent)
    : QObject(parent), clock_(clock), traffic_(clock), tap_(port), reception_(tap_, clock),
      frameDrain_(clock.createTimer()),
      writer_(std::make_unique<WriteSequencer>(
          clock, static_cast<HeldLine &>(*this), tap_,
          [this](const std::shared_ptr<WriteReply> &reply, Outcome outcome, const QString &reason) {
              writeEnded(reply, outcome, reason);
          })),
      quietGuard_(clock.createTimer()), pacedWatchdog_(clock.createTimer()),
      adapterWatch_(
          clock,
          [this](const QString &device, const QString &serialNumber) {
              // The same adapter wherever it reappears; else whatever carries the name
              // (under a by-id name that is only the same adapter).
              if (!serialNumber.isEmpty() && serialDevices_)
                  for (const SerialDeviceInfo &d : serialDevices_->list())
                      if (d.serialNumber == serialNumber) return d.preferredName();
              return adapterPresent(device) ? device : QString();
          },
          [this](const QString &device) { adapterFound(device); }) {
    frameDrain_->setOnTimeout([this] { checkFrameDrain(); });
    // A paced read whose driver went quiet (neither sends nor takes what comes)
    // would hold the line for good: the owner gives it up.
    pacedWatchdog_->setOnTimeout([this] {
        if (!paced_) return;
        paced_->overdue_ = true;
        endPacedRead(Outcome::NoReply);
    });
    quietGuard_->setOnTimeout([this] { onQuietGuardTick(); });
    reception_.setStaleReplyGuard(&staleGuard_);
    connect(&reception_, &ReplyReception::strayBytes, this, [this](const QByteArray &bytes) {
        noteDropped(QStringLiteral("лишние байты отброшены: %1 байт"), bytes);
    });
    connect(&reception_, &ReplyReception::unattributed, this, [this](const QByteArray &bytes) {
        // The read under way got a reply, just not one that can be told to be its own.
        heldBack_ = true;
        noteDropped(QStringLiteral("ответы не отнесены к запросу: %1 байт"), bytes);
    });
    connect(&tap_, &TappedPort::sent, &traffic_, &TrafficLog::recordSent);
    connect(&tap_, &TappedPort::received, &traffic_, &TrafficLog::recordReceived);
    connect(&tap_, &TappedPort::closed, &traffic_, &TrafficLog::lineClosed);
    connect(&tap_, &TappedPort::lineErrors, &traffic_, &TrafficLog::recordLineErrors);
    connect(&tap_, &TappedPort::sent, this, [this](const QByteArray &b) { emit transferred(Direction::Sent, b); });
    connect(&tap_, &TappedPort::received, this,
            [this](const QByteArray &b) { emit transferred(Direction::Received, b); });
    connect(&tap_, &TappedPort::closed, this, &LineSession::portClosed);

    connect(&reception_, &ReplyReception::blockReply, this, [this](const QByteArray &reply) {
        if (current_) currentBytes_ = reply;
    });
    connect(&reception_, &ReplyReception::released, this, &LineSession::onReceptionReleased);
}

LineSession::~LineSession() {
    releasePacedRead();
    const auto waiting = std::move(waiting_);
    for (const auto &reply : waiting) reply->finish(Outcome::Cancelled);
    if (current_) current_->finish(Outcome::Cancelled);
    current_.reset();
    if (const std::shared_ptr<WriteReply> write = writer_->abandon()) write->finish(Outcome::Cancelled);
    quietCancel_ = true;
    reception_.cancel();
    disconnect(&reception_, nullptr, this, nullptr);
}

bool LineSession::openPort() {
    if (tap_.isOpen()) return true;
    // A device named by the caller stays the line's until the port is let go.
    return openDevice(namedDevice_.isEmpty() ? PortSettings::deviceName(settings_.portNumber) : namedDevice_);
}

bool LineSession::openPort(const QString &device) {
    if (tap_.isOpen()) return true;
    namedDevice_ = device;
    return openDevice(device);
}

bool LineSession::openDevice(const QString &device) {
    triedDevice_ = device;
    if (device.isEmpty() || !tap_.open(device)) return false;
    // Nothing sent before the port was opened again can answer on it.
    staleGuard_.reset();
    adapterWatch_.stop();
    if (device != openedDevice_) {
        openedDevice_ = device;
        openedSerial_.clear();
        if (serialDevices_) {
            const std::vector<SerialDeviceInfo> present = serialDevices_->list();
            if (const SerialDeviceInfo *d = SerialDevices::find(present, device)) openedSerial_ = d->serialNumber;
        }
    }
    return true;
}

void LineSession::changePort(int portNumber) { enqueuePortWork(PortWork::Port, portNumber, QString()); }

void LineSession::changeStation(int station) { enqueuePortWork(PortWork::Station, station, QString()); }

void LineSession::useDevice(const QString &device) { enqueuePortWork(PortWork::Device, 0, device); }

std::shared_ptr<LineReply> LineSession::enqueueOpen() { return enqueuePortWork(PortWork::Open, 0, QString()); }

std::shared_ptr<LineReply> LineSession::release() { return enqueuePortWork(PortWork::Release, 0, QString()); }

std::shared_ptr<LineReply> LineSession::enqueuePortWork(int action, int number, const QString &device) {
    auto work = std::make_shared<PortWork>(action, number, device);
    takeInTurn(work);
    return work;
}

bool LineSession::startPortWork(const std::shared_ptr<LineReply> &reply) {
    const auto &work = static_cast<const PortWork &>(*reply);
    switch (work.action) {
    case PortWork::Open: {
        const bool opened = openPort();
        reply->finish(opened ? Outcome::Reply : Outcome::NoNetwork, {}, opened ? QString() : portErrorText());
        return opened;
    }
    case PortWork::Release: closePort(); break;
    case PortWork::Port:
        // Let go even for the same number: the device it stands for may have changed.
        closePort();
        if (work.number != settings_.portNumber) {
            settings_.portNumber = static_cast<std::uint8_t>(work.number);
            emit settingsChanged();
        }
        break;
    case PortWork::Station:
        if (work.number != settings_.station) {
            settings_.station = work.number;
            emit settingsChanged();
        }
        break;
    case PortWork::Device:
        if (work.device != namedDevice_) closePort();
        namedDevice_ = work.device;
        break;
    }
    reply->finish(Outcome::Reply);
    return true;
}

void LineSession::notePortFailure(LineReply &work) {
    // Said once: while the adapter is awaited, what fails meanwhile ends quietly.
    if (!adapterWatch_.isWatching()) work.metPortFailure_ = true;
}

void LineSession::noteNotSent() {
    ++framesNotSent_;
    if (LineReply *work = holder()) ++work->framesNotSent_;
}

LineReply *LineSession::holder() const {
    if (current_) return current_.get();
    return writing_.get();
}

void LineSession::watchForAdapter() {
    if (adapterWatch_.isWatching() || !tap_.deviceGone() || openedDevice_.isEmpty() || triedDevice_ != openedDevice_)
        return;
    adapterWatch_.start(openedDevice_, openedSerial_);
    emit adapterGone(openedDevice_);
}

void LineSession::adapterFound(const QString &device) {
    if (tap_.isOpen()) {
        adapterWatch_.stop();
        return;
    }
    // Still being set up (its node there, its permissions not yet): the next look tries again.
    if (!namedDevice_.isEmpty()) namedDevice_ = device;
    if (!openDevice(device)) return;
    emit adapterReturned(device);
}

bool LineSession::holdsForStaleReply() const { return !staleGuard_.mayGoOut(clock_.nowMs()); }

void LineSession::noteDropped(const QString &what, const QByteArray &bytes) {
    // The bytes are in the received record just before this one.
    traffic_.recordNote(what.arg(bytes.size()), QByteArray());
}

void LineSession::closePort() {
    // The user chose to let the port go: an adapter awaited is no longer looked for.
    adapterWatch_.stop();
    namedDevice_.clear();
    tap_.close();
}

std::shared_ptr<LineReply> LineSession::enqueue(const Request &request, int watchdogMs) {
    auto reply = std::make_shared<LineReply>(request, watchdogMs);
    if (request.purpose() == Request::Purpose::BlockRead) {
        // Only the latest values are worth the line's time.
        std::vector<std::shared_ptr<LineReply>> replaced;
        for (auto it = waiting_.begin(); it != waiting_.end();) {
            if ((*it)->kind() == LineReply::Kind::Exchange && (*it)->request().purpose() == Request::Purpose::BlockRead) {
                replaced.push_back(*it);
                it = waiting_.erase(it);
            } else {
                ++it;
            }
        }
        for (const auto &old : replaced) old->finish(Outcome::Cancelled);
    }
    takeInTurn(reply);
    return reply;
}

void LineSession::takeInTurn(const std::shared_ptr<LineReply> &work) {
    emit requestTaken(work);
    if (isFree())
        startQueued(work);
    else
        waiting_.push_back(work);
}

bool LineSession::startQueued(const std::shared_ptr<LineReply> &reply) {
    switch (reply->kind()) {
    case LineReply::Kind::PacedRead: return startPacedRead(std::static_pointer_cast<PacedRead>(reply));
    case LineReply::Kind::Frame: return startFrame(reply);
    case LineReply::Kind::WriteSequence: return startWrite(std::static_pointer_cast<WriteReply>(reply));
    case LineReply::Kind::PortWork: return startPortWork(reply);
    case LineReply::Kind::Exchange: break;
    }
    current_ = reply;
    currentBytes_.clear();
    if (startExchange(reply->request(), reply->watchdogMs())) return true;
    current_.reset();
    reply->finish(Outcome::NoNetwork, {}, portErrorText());
    watchForAdapter();
    return false;
}

void LineSession::startNextWaiting() {
    while (!isBusy() && !current_ && !waiting_.empty()) {
        const std::shared_ptr<LineReply> next = waiting_.front();
        waiting_.pop_front();
        startQueued(next);
    }
}

void LineSession::cancel(const LineReply &reply) {
    if (reply.isFinished()) return;
    if (current_.get() == &reply) {
        cancelExchange();
        return;
    }
    for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
        if (it->get() != &reply) continue;
        const std::shared_ptr<LineReply> taken = *it;
        waiting_.erase(it);
        taken->finish(Outcome::Cancelled);
        return;
    }
}

bool LineSession::isWaiting(const LineReply &reply) const {
    for (const auto &waiting : waiting_)
        if (waiting.get() == &reply) return true;
    return false;
}

void LineSession::cancelQueue() {
    const auto waiting = std::move(waiting_);
    waiting_.clear();
    for (const auto &reply : waiting) {
        // Writes and changes of the port are never dropped.
        if (reply->kind() == LineReply::Kind::WriteSequence || reply->kind() == LineReply::Kind::PortWork)
            waiting_.push_back(reply);
        else
            reply->finish(Outcome::Cancelled);
    }
    if (current_) cancelExchange();
}

void LineSession::setActivity(Activity activity) {
    const bool wasBusy = isBusy();
    activity_ = activity;
    if (wasBusy != isBusy()) emit busyChanged(isBusy());
}

void LineSession::discardWaitingInput() {
    // A late reply, a copy of one, or the answer to a recording start or stop,
    // must not be taken for the reply to the request about to go out.
    if (!tap_.isOpen() || tap_.bytesAvailable() <= 0) return;
    const QByteArray stray = tap_.readAll();
    // Owed: the reply of an exchange that ended without it.
    const bool late = staleGuard_.owesStaleReply(clock_.nowMs());
    staleGuard_.dropped(stray, clock_.nowMs());
    noteDropped(late ? QStringLiteral("поздний ответ отброшен: %1 байт") : QStringLiteral("лишние байты отброшены: %1 байт"),
                stray);
}

bool LineSession::openAndSend(const Request &request) {
    if (request.setsLeadingFields()) onLine_ = request.leadingCompletedFrom(onLine_);
    if (!openPort()) return false;
    onLine_ = request.completedFrom(onLine_);
    if (request.awaitsReply()) discardWaitingInput();
    return sendFrame(onLine_);
}

bool LineSession::sendFrame(const RequestFields &fields) {
    const Link::Frame frame = Link::frameOf(fields, settings_.station);
    QByteArray bytes = frame.bytes;
    int nextIndex = fields.index;
    switch (frame.build) {
    case Link::Build::OutOfRange:
        noteNotSent();
        return false;
    case Link::Build::NoLayout:
        // No layout for these fields: the frame built last goes out again.
        if (lastBuilt_.size() < wire::kFrameLength) {
            noteNotSent();
            return false;
        }
        bytes = lastBuilt_.left(wire::kFrameLength);
        break;
    case Link::Build::Built: nextIndex = frame.nextIndex; break;
    }
    lastBuilt_ = bytes;
    onLine_.index = static_cast<std::uint8_t>(nextIndex);
    checkedLength_ = wire::kFrameLength;
    const QByteArray out = Link::withCheckValue(bytes);
    if (!tap_.isOpen() || !tap_.write(out)) {
        noteNotSent();
        return false;
    }
    if (current_) current_->sentFrame_ = out;
    return true;
}

bool LineSession::sendDataBlock() {
    const bool screen = onLine_.kind == Request::ScreenHeader;
    if (screen)
        checkedLength_ = screenCheckedLength_;
    else if (onLine_.kind == Request::TableHeader)
        checkedLength_ = Link::checkedTableLength(onLine_.table, checkedLength_);
    else
        return false;
    lastBuilt_ = writeData_;
    if (!Link::tableDataFits(onLine_.table, writeData_, checkedLength_)) return false;
    const QByteArray out = screen ? Link::screenDataBlock(settings_.station, writeData_) : writeData_;
    if (screen && out.isEmpty()) return false;
    return tap_.isOpen() && tap_.write(out);
}

bool LineSession::sendAsRecorded(const QByteArray &bytes) { return tap_.isOpen() && tap_.write(bytes); }

void LineSession::loadTableData(int table, const QByteArray &data) {
    writeData_ = data;
    onLine_.table = static_cast<std::int16_t>(table);
}

void LineSession::loadScreenData(const QByteArray &stream, int checkedLength) {
    writeData_ = stream;
    screenCheckedLength_ = static_cast<std::int16_t>(checkedLength);
}

bool LineSession::startExchange(const Request &request, int watchdogMs) {
    const bool started = startExchangeOnFreeLine(request, watchdogMs);
    if (!started && request.purpose() == Request::Purpose::BlockRead) {
        // A read that could not go out leaves the kind at 0 on the line.
        onLine_.kind = 0;
        if (current_) notePortFailure(*current_);
    }
    return started;
}

bool LineSession::startExchangeOnFreeLine(const Request &request, int watchdogMs) {
    if (tap_.isOpen()) discardWaitingInput();
    if (holdsForStaleReply()) {
        if (request.setsLeadingFields()) onLine_ = request.leadingCompletedFrom(onLine_);
        if (!openPort()) return false;
        dropLateBytes();
        pendingRequest_ = request;
        pendingWatchdogMs_ = watchdogMs;
        setActivity(Activity::Exchange);
        quietGuard_->start(kQuietPollMs);
        return true;
    }
    if (!openAndSend(request)) return false;
    setActivity(Activity::Exchange);
    reception_.awaitBlockReply(watchdogMs);
    return true;
}

void LineSession::dropLateBytes() {
    if (!tap_.isOpen() || tap_.bytesAvailable() <= 0) return;
    const QByteArray late = tap_.readAll();
    staleGuard_.dropped(late, clock_.nowMs());
    noteDropped(QStringLiteral("поздний ответ отброшен: %1 байт"), late);
}

void LineSession::onQuietGuardTick() {
    dropLateBytes();
    if (holdsForStaleReply()) return;
    quietGuard_->stop();
    if (activity_ == Activity::PacedRead) {
        beginPacedRead();
        return;
    }
    const Request request = pendingRequest_;
    if (!openAndSend(request)) {
        if (current_) notePortFailure(*current_);
        finishExchange(Outcome::NoNetwork);
        return;
    }
    reception_.awaitBlockReply(pendingWatchdogMs_);
}

void LineSession::cancelExchange() {
    if (activity_ == Activity::PacedRead && !paced_) {
        // Held for a stale reply, not begun: its driver has nothing to end.
        quietGuard_->stop();
        finishExchange(Outcome::Cancelled);
        return;
    }
    if (activity_ == Activity::PacedRead) {
        endPacedRead(Outcome::Cancelled);
        return;
    }
    if (activity_ != Activity::Exchange) return;
    if (quietGuard_->isActive()) {
        // Held back, never sent: nothing more is owed than before.
        quietGuard_->stop();
        heldBack_ = true;
        finishExchange(Outcome::Cancelled);
        return;
    }
    reception_.cancel();
}

void LineSession::enqueuePacedRead(const std::shared_ptr<PacedRead> &read) {
    takeInTurn(read);
}

std::shared_ptr<LineReply> LineSession::enqueueFrame(const Request &frame) {
    auto reply = std::make_shared<LineReply>(frame, 0, LineReply::Kind::Frame);
    takeInTurn(reply);
    return reply;
}

bool LineSession::startPacedRead(const std::shared_ptr<PacedRead> &read) {
    if (!openPort()) {
        read->finish(Outcome::NoNetwork, {}, portErrorText());
        return false;
    }
    current_ = read;
    currentBytes_.clear();
    setActivity(Activity::PacedRead);
    // A reply still owed to an exchange before must not be taken for the read's
    // first answer: the read holds the line and begins once it can no longer come.
    if (holdsForStaleReply()) {
        dropLateBytes();
        quietGuard_->start(kQuietPollMs);
        return true;
    }
    beginPacedRead();
    return true;
}

void LineSession::beginPacedRead() {
    const auto read = std::static_pointer_cast<PacedRead>(current_);
    discardWaitingInput();
    paced_ = read.get();
    read->line_ = this;
    // Every arrival is told to the read's driver at once, so it paces on arrivals.
    tap_.setArrivalHandler([this] {
        if (!paced_) return;
        pacedReadMoved();
        emit paced_->arrived();
    });
    pacedReadMoved();
    emit read->started();
}

bool LineSession::sendRequest(const Request &request) {
    // A paced read's driver moved: the owner's watchdog starts over.
    if (paced_) pacedReadMoved();
    onLine_ = request.completedFrom(onLine_);
    return sendFrame(onLine_);
}

void LineSession::noteInTraffic(const QString &text, const QByteArray &bytes) { traffic_.recordNote(text, bytes); }

QByteArray LineSession::takeInput() {
    if (!paced_ || !tap_.isOpen()) return QByteArray();
    const QByteArray input = tap_.readAll();
    if (!input.isEmpty()) pacedReadMoved();
    return input;
}

void LineSession::pacedReadMoved() { pacedWatchdog_->start(paced_->watchdogMs() + kPacedWatchdogMarginMs); }

void LineSession::releasePacedRead() {
    if (!paced_) return;
    pacedWatchdog_->stop();
    tap_.setArrivalHandler({});
    paced_->line_ = nullptr;
    paced_ = nullptr;
}

void LineSession::endPacedRead(Outcome outcome) {
    if (!paced_) return;
    releasePacedRead();
    // The read's driver tells the user; the line only starts looking for an
    // adapter that went away, before the read's end is told.
    if (outcome == Outcome::NoNetwork) watchForAdapter();
    finishExchange(outcome);
}

bool LineSession::startFrame(const std::shared_ptr<LineReply> &frame) {
    current_ = frame;
    currentBytes_.clear();
    if (!openAndSend(frame->request())) {
        current_.reset();
        frame->finish(Outcome::NoNetwork, {}, portErrorText());
        return false;
    }
    // Held (no exchange: nothing is awaited) until the frame's bytes have left.
    setActivity(Activity::Frame);
    const qint64 queued = tap_.isOpen() ? tap_.bytesNotYetSent() : 0;
    frameDeadlineMs_ = clock_.nowMs() + (queued * 10 * 1000 + kLineBitsPerSecond - 1) / kLineBitsPerSecond + kDrainMarginMs;
    checkFrameDrain();
    return true;
}

void LineSession::checkFrameDrain() {
    const bool open = tap_.isOpen();
    const qint64 queued = open ? tap_.bytesNotYetSent() : 0;
    const qint64 dropped = open ? 0 : tap_.bytesDroppedAtClose();
    if (open && queued > 0 && clock_.nowMs() < frameDeadlineMs_) {
        if (!frameDrain_->isActive()) frameDrain_->start(kDrainPollMs);
        return;
    }
    frameDrain_->stop();
    const std::shared_ptr<LineReply> frame = std::move(current_);
    current_.reset();
    setActivity(Activity::Idle);
    if (frame) {
        const qint64 total = wire::kFrameLength + wire::kCheckValueLength;
        const qint64 left = queued + dropped;
        if (left == 0)
            frame->finish(Outcome::Reply);
        else
            frame->finish(Outcome::NotDrained, {}, notAcceptedText(std::max<qint64>(0, total - left), total));
    }
    startNextWaiting();
}

void LineSession::onReceptionReleased(Outcome outcome) {
    if (quietCancel_ || activity_ != Activity::Exchange) return;
    switch (outcome) {
    case Outcome::NoReply:
        if (current_) current_->overdue_ = true;
        finishExchange(outcome);
        break;
    case Outcome::NoNetwork:
        if (current_) notePortFailure(*current_);
        finishExchange(outcome);
        break;
    default: finishExchange(outcome); break;
    }
}

void LineSession::finishExchange(Outcome outcome) {
    if (activity_ != Activity::Exchange && activity_ != Activity::PacedRead) return;
    // A reply not taken may still come: the next request is held back for it.
    // After a paced read, what may still come is the rest of a part already on
    // its way: the line must have been quiet a while.
    if ((outcome == Outcome::NoReply || outcome == Outcome::Cancelled) && !heldBack_) {
        if (activity_ == Activity::PacedRead)
            staleGuard_.awaitQuiet(clock_.nowMs());
        else
            staleGuard_.exchangeEndedWithoutReply(clock_.nowMs());
    }
    heldBack_ = false;
    setActivity(Activity::Idle);
    // Bytes still awaited by the log are late from here on.
    traffic_.exchangeEnded();
    if (current_) {
        const std::shared_ptr<LineReply> reply = std::move(current_);
        current_.reset();
        reply->finish(outcome, currentBytes_, outcome == Outcome::NoNetwork ? portErrorText() : QString());
    }
    // Before the next work meets the same failure: it ends quietly.
    if (outcome == Outcome::NoNetwork) watchForAdapter();
    startNextWaiting();
}

// --- Write sequences ---------------------------------------------------------

std::shared_ptr<WriteReply> LineSession::enqueue(WriteSequence sequence) {
    auto reply = std::make_shared<WriteReply>(std::move(sequence));
    takeInTurn(reply);
    return reply;
}

bool LineSession::startWrite(const std::shared_ptr<WriteReply> &reply) {
    setActivity(Activity::WriteSequence);
    writing_ = reply;
    emit writeStarted(reply);
    writer_->start(reply);
    return true;
}

void LineSession::writeEnded(const std::shared_ptr<WriteReply> &reply, Outcome outcome, const QString &portReason) {
    setActivity(Activity::Idle);
    writing_.reset();
    const QString reason = outcome == Outcome::NoNetwork ? portReason : QString();
    // The user hears of a failed port as of any other: "Нет сети!!!" and why.
    if (outcome == Outcome::NoNetwork) notePortFailure(*reply);
    reply->finish(outcome, {}, reason);
    if (outcome == Outcome::NoNetwork) watchForAdapter();
    startNextWaiting();
}

QString LineSession::notAcceptedText(qint64 sent, qint64 total) {
    return QStringLiteral("Z5 не принимает данные: отправлено %1 из %2 байт").arg(sent).arg(total);
}

} // namespace z5
