#include "app/RecordComparison.h"
#include "app/Session.h"
#include "link/WriteReply.h"
#include "model/Prompts.h"
#include "record/RecordedWrite.h"

namespace z5 {
namespace {

// The question lists this many changes; the rest are counted.
constexpr int kListedChanges = 20;

} // namespace

RecordComparison::RecordComparison(const Session &session) : session_(session) {
    // Every write, whoever started it, may have added to the record when it ends.
    connect(&session.line, &LineSession::writeStarted, this, [this](const std::shared_ptr<WriteReply> &write) {
        connect(write.get(), &WriteReply::finished, this, [this] {
            recordChanged();
            emit written();
        });
    });
}

const WrittenParameters &RecordComparison::lastWritten() const {
    const int station = session_.line.settings().station;
    if (stale_ || readFrom_ != session_.writeHistory || readStation_ != station || readHash_ != session_.netlistHash) {
        written_ = session_.writeHistory && !session_.netlistHash.isEmpty()
                       ? WrittenParameters::fromHistory(*session_.writeHistory, station, session_.netlistHash,
                                                        session_.project)
                       : WrittenParameters{};
        stale_ = false;
        readFrom_ = session_.writeHistory;
        readStation_ = station;
        readHash_ = session_.netlistHash;
    }
    return written_;
}

bool RecordComparison::hasRecord() const { return !lastWritten().isEmpty(); }

std::vector<FieldDifference> RecordComparison::differences() const {
    return recordDifferences(session_.project, session_.store, lastWritten());
}

QString RecordComparison::writtenTextIfChanged(const StorePlace &place, int type, int row) const {
    const WrittenParameters &w = lastWritten();
    if (w.isEmpty() || !differsFromWritten(w, session_.store, place)) return QString();
    const QString shown = shownValue(writtenBytes(w, place), place, type, row);
    // A blank name was written: the mark still has something to show.
    return shown.isEmpty() ? QStringLiteral("«»") : shown;
}

QString RecordComparison::countText() const {
    if (!hasRecord()) return QString();
    return QStringLiteral("Изменений с последней записи в Z5: %1").arg(differences().size());
}

QString RecordComparison::writeQuestion(const std::vector<FieldDifference> &differences) {
    const int n = static_cast<int>(differences.size());
    QStringList lines;
    for (int i = 0; i < n && i < kListedChanges; ++i) lines << differenceLine(differences[static_cast<std::size_t>(i)]);
    if (n > kListedChanges) lines << QStringLiteral("… и ещё %1").arg(n - kListedChanges);
    return QStringLiteral("Изменения с последней записи в Z5:\n%1\n\nЗаписать эти изменения (%2) в Z5?")
        .arg(lines.join(QLatin1Char('\n')))
        .arg(n);
}

bool RecordComparison::mayWrite(Prompts &prompts, const std::vector<FieldDifference> &differences) {
    return differences.empty() || prompts.confirm(writeQuestion(differences), QStringLiteral("Изменения"));
}

} // namespace z5
