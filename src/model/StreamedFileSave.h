#pragma once
#include "model/StagedFile.h"
#include <QByteArray>
#include <QString>

namespace z5 {

// A file written while its content comes (a trace as the line runs), put in
// place over its target only when it ends: what comes goes beside the target a
// chunk at a time, so no more than a chunk of it waits in memory, and commit
// syncs and renames it like every other save (AtomicFileSave), so a failure at
// any point leaves the old file as it was. The first failure is kept and given by
// commit; what comes after it is dropped.
class StreamedFileSave {
public:
    // Checks the target and begins the file beside it.
    explicit StreamedFileSave(const QString &path);

    void append(const QByteArray &bytes);
    // False with the first failure's reason.
    bool commit(QString *error);

private:
    bool flush();

    StagedFile staged_;
    QByteArray pending_;
    QString failure_;
};

} // namespace z5
