#include "model/StaleTemporaries.h"
#include "model/SetJournal.h"
#include "model/StagedFile.h"
#include "model/TemporaryName.h"
#include <QDir>
#include <QHash>
#include <QSet>

namespace z5 {

void StaleTemporaries::sweep(const QString &folder) {
    if (folder.isEmpty()) return;
    const QFileInfoList found = QDir(folder).entryInfoList(
        {TemporaryName::filter()}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (found.isEmpty()) return;
    const qint64 self = StagedFile::currentProcess();
    QHash<qint64, bool> gone;
    auto processGone = [&](qint64 process) {
        if (process == self) return false;
        if (!gone.contains(process)) gone.insert(process, !StagedFile::processRuns(process));
        return gone.value(process);
    };
    // A set's journal first: its staged and old files are what it needs to finish.
    QSet<qint64> held;
    for (const QFileInfo &f : found) {
        const auto name = TemporaryName::parse(f.fileName());
        if (!name || name->kind != TemporaryName::Kind::Journal || f.isSymLink() || !f.isFile()) continue;
        if (processGone(name->process) && !SetJournal::recover(f.absoluteFilePath())) held.insert(name->process);
    }
    for (const QFileInfo &f : found) {
        const auto name = TemporaryName::parse(f.fileName());
        if (!name || name->kind == TemporaryName::Kind::Journal || f.isSymLink()) continue;
        if (held.contains(name->process) || !processGone(name->process)) continue;
        if (name->kind == TemporaryName::Kind::Scratch) {
            if (f.isDir()) QDir(f.absoluteFilePath()).removeRecursively();
        } else if (f.isFile()) {
            StagedFile::remove(f.absoluteFilePath());
        }
    }
}

} // namespace z5
