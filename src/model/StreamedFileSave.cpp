#include "model/StreamedFileSave.h"
#include "model/AtomicFileSave.h"
#include "model/StaleTemporaries.h"
#include <QFileInfo>

namespace z5 {

StreamedFileSave::StreamedFileSave(const QString &path)
    : staged_(path.isEmpty() ? QString() : AtomicFileSave::resolvedTarget(path)) {
    failure_ = path.isEmpty() ? QStringLiteral("Имя файла не задано.") : AtomicFileSave::refusedTarget(path);
    if (!failure_.isEmpty()) return;
    StaleTemporaries::sweep(QFileInfo(staged_.target()).absolutePath());
    staged_.create(&failure_);
}

void StreamedFileSave::append(const QByteArray &bytes) {
    if (!failure_.isEmpty()) return;
    pending_ += bytes;
    if (pending_.size() >= AtomicFileSave::kChunkBytes) flush();
}

bool StreamedFileSave::flush() {
    if (!staged_.write(pending_, &failure_)) {
        staged_.discard();
        pending_.clear();
        return false;
    }
    pending_.clear();
    return true;
}

bool StreamedFileSave::commit(QString *error) {
    if (failure_.isEmpty() && flush() && staged_.finish(&failure_)) {
        AtomicFileSave::step();
        if (staged_.renameOver(&failure_)) return true;
    }
    staged_.discard();
    if (error) *error = failure_;
    return false;
}

} // namespace z5
