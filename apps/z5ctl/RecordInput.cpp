#include "RecordInput.h"
#include "record/RecordPlace.h"

namespace z5ctl {

std::unique_ptr<z5::StationRecord> openRecordToRead(const QString &verb, const Arguments &a) {
    const QString path = a.value(QStringLiteral("record"), z5::stationRecordPath());
    QString problem;
    std::unique_ptr<z5::StationRecord> record = z5::StationRecord::open(path, z5::StationRecord::Use::ReadingOnly, &problem);
    if (!record) err(QStringLiteral("z5ctl %1: %2").arg(verb, problem));
    return record;
}

QString outcomeText(const z5::RecordedWrite &write) {
    switch (write.state) {
    case z5::RecordedWrite::State::Finished: return QStringLiteral("finished");
    case z5::RecordedWrite::State::Unfinished: return QStringLiteral("unfinished");
    case z5::RecordedWrite::State::Failed: break;
    }
    // One line: the reason's lines joined.
    const QString why = write.failure.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QStringLiteral(" — "));
    return why.isEmpty() ? QStringLiteral("failed") : QStringLiteral("failed: ") + why;
}

QString kindText(z5::RecordedWrite::Kind kind) {
    switch (kind) {
    case z5::RecordedWrite::Kind::Setpoints: return QStringLiteral("setpoints");
    case z5::RecordedWrite::Kind::Screen: return QStringLiteral("screen");
    case z5::RecordedWrite::Kind::Download: break;
    }
    return QStringLiteral("download");
}

} // namespace z5ctl
