#include "app/StationRecorder.h"
#include "app/Session.h"
#include "link/LineSession.h"
#include "link/PortSettings.h"
#include "link/SerialDevices.h"
#include "link/WireSizes.h"
#include "link/WriteReply.h"
#include "model/Prompts.h"
#include "record/ComputerUser.h"
#include <QDir>

namespace z5 {

StationRecorder::StationRecorder(Session &session) : session_(session) {
    connect(&session_.line, &LineSession::writeStarted, this, &StationRecorder::follow);
}

StationRecorder::~StationRecorder() = default;

QString StationRecorder::open(const QString &path) {
    session_.writeHistory = nullptr;
    record_.reset();
    problem_.clear();
    path_ = path;
    record_ = StationRecord::open(path, StationRecord::Use::Writing, &problem_);
    // What the console compares with is the record writes go into.
    session_.writeHistory = record_.get();
    return problem_;
}

QString StationRecorder::placeText() const {
    if (record_) return QStringLiteral("Журнал записей в Z5: %1").arg(QDir::toNativeSeparators(path_));
    if (!problem_.isEmpty()) return QStringLiteral("Журнал записей в Z5 не ведётся: %1").arg(problem_);
    return QStringLiteral("Журнал записей в Z5 не ведётся");
}

QString StationRecorder::notRecordedText(const QString &why) {
    return QStringLiteral("Запись в Z5 не вносится в журнал записей: %1").arg(why);
}

RecordedWrite::Kind StationRecorder::kindOf(const WriteSequence &sequence) {
    bool setpoints = false;
    for (const WriteSequence::Step &step : sequence.steps()) {
        if (step.kind != WriteSequence::StepKind::Header) continue;
        if (step.tag == WriteSequence::kScreen) return RecordedWrite::Kind::Screen;
        if (step.tag == tableNumber(Table::Setpoints)) setpoints = true;
    }
    return setpoints ? RecordedWrite::Kind::Setpoints : RecordedWrite::Kind::Download;
}

QString StationRecorder::adapterOf(const QString &device) const {
    const LineSession &line = session_.line;
    if (device == line.openedDevice() && !line.openedAdapterSerial().isEmpty()) return line.openedAdapterSerial();
    if (!devices_ || device.isEmpty()) return QString();
    const std::vector<SerialDeviceInfo> present = devices_->list();
    const SerialDeviceInfo *info = SerialDevices::find(present, device);
    if (!info) return QString();
    return info->serialNumber.isEmpty() ? info->description : info->serialNumber;
}

void StationRecorder::tell(const QString &text) { session_.prompts.message(text, QString(), Prompts::Kind::Warning); }

void StationRecorder::follow(const std::shared_ptr<WriteReply> &write) {
    WriteReply *reply = write.get();
    if (!record_) {
        // Told once, after the write, so that it does not stand in the write's way.
        if (!problem_.isEmpty() && !problemTold_)
            connect(reply, &WriteReply::finished, this, [this] {
                if (problemTold_) return;
                problemTold_ = true;
                tell(notRecordedText(problem_));
            });
        return;
    }
    const LineSession &line = session_.line;
    write_ = write;
    entry_ = RecordedWrite();
    pending_.clear();
    stored_ = 0;
    wentOut_ = false;
    entry_.kind = kindOf(write->sequence());
    entry_.started = QDateTime::currentDateTimeUtc();
    entry_.user = computerUserName();
    entry_.programVersion = QStringLiteral(Z5_VERSION);
    // The port is opened by the write itself unless it is open already.
    entry_.port = line.isPortOpen() ? line.openedDevice() : PortSettings::deviceName(line.settings().portNumber);
    entry_.adapter = adapterOf(entry_.port);
    entry_.station = line.settings().station;
    entry_.netlistName = session_.netlistName;
    entry_.netlistHash = session_.netlistHash;
    entry_.id = record_->enterStarted(entry_);
    if (entry_.id == 0) {
        // Said after the write, like a record that could not be opened.
        write_.reset();
        const QString why = record_->lastError();
        connect(reply, &WriteReply::finished, this, [this, why] { tell(notRecordedText(why)); });
        return;
    }
    connect(reply, &WriteReply::stepTaken, this, &StationRecorder::stepTaken);
    connect(reply, &WriteReply::headerSent, this, [this](int, bool) {
        entry_.bytesTotal += wire::kFrameLength + wire::kCheckValueLength;
    });
    connect(reply, &WriteReply::dataSent, this, [this](int, int bytes, bool) { entry_.bytesTotal += bytes; });
    connect(reply, &WriteReply::finished, this, &StationRecorder::finished);
}

void StationRecorder::stepTaken(int index, const QByteArray &wentOut) {
    if (!write_) return;
    const WriteSequence::Step &step = write_->sequence().steps().at(std::size_t(index));
    StationRecord::Step kept;
    kept.atMs = step.atMs;
    kept.tag = step.tag;
    switch (step.kind) {
    case WriteSequence::StepKind::Header:
    case WriteSequence::StepKind::Data:
        // A send the port refused put nothing on the wire.
        if (wentOut.isEmpty()) return;
        kept.what = step.kind == WriteSequence::StepKind::Header ? StationRecord::Step::What::Header
                                                                 : StationRecord::Step::What::Data;
        kept.bytes = wentOut;
        wentOut_ = true;
        break;
    case WriteSequence::StepKind::ClosePort: kept.what = StationRecord::Step::What::Close; break;
    case WriteSequence::StepKind::ReopenPort: kept.what = StationRecord::Step::What::Reopen; break;
    case WriteSequence::StepKind::Mark: return;
    }
    pending_.push_back(std::move(kept));
    flush();
}

void StationRecorder::flush() {
    // What could not be added now goes with the next step, or with the completion.
    if (!record_->addSteps(entry_.id, stored_, pending_)) return;
    stored_ += int(pending_.size());
    pending_.clear();
}

void StationRecorder::finished() {
    const std::shared_ptr<WriteReply> write = std::move(write_);
    write_.reset();
    if (!write) return;
    const LineSession &line = session_.line;
    entry_.ended = QDateTime::currentDateTimeUtc();
    entry_.state = write->succeeded() ? RecordedWrite::State::Finished : RecordedWrite::State::Failed;
    entry_.failure = write->failureText();
    if (entry_.failure.isEmpty() && !write->succeeded()) {
        if (write->outcome() != LineOutcome::NoNetwork)
            entry_.failure = QStringLiteral("Запись в Z5 не закончена");
        else if (write->failure().isEmpty())
            entry_.failure = QStringLiteral("Нет сети!!!");
        else
            entry_.failure = QStringLiteral("Нет сети!!!\n") + write->failure();
    }
    if (entry_.state == RecordedWrite::State::Finished) entry_.failure.clear();
    entry_.bytesSent = write->bytesDelivered();
    if (wentOut_) {
        entry_.port = line.openedDevice();
        entry_.adapter = adapterOf(entry_.port);
    }
    if (!record_->complete(entry_.id, stored_, pending_, entry_)) {
        tell(QStringLiteral("Запись в Z5 внесена в журнал записей не целиком (%1): %2")
                 .arg(QDir::toNativeSeparators(record_->path()), record_->lastError()));
    }
    pending_.clear();
    record_->checkpoint();
}

} // namespace z5
