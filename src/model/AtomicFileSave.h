#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace z5 {

// Replaces a file as a whole or not at all. The bytes go unbuffered to a temporary
// file beside the target and every write's count is checked, then the sync and the
// close: on a full disk a write may take only part of the bytes, and a buffered save
// could then commit a truncated file. Only a complete copy is renamed over the old
// file. A symbolic link is written through: the file it leads to is replaced and
// the link stays a link. Before it writes, a save removes from the target's folder
// what saves of ours that were stopped midway left there (StaleTemporaries).
class AtomicFileSave {
public:
    static constexpr qint64 kChunkBytes = 64 * 1024;
    // False, with the reason in words in error, when anything failed; the old file
    // is then untouched. A target that exists but is no regular file (a device, a
    // fifo, a socket, a folder) is refused before anything is written: renaming
    // over it would replace the device node with a plain file.
    static bool save(const QString &path, const QByteArray &bytes, QString *error = nullptr);

    // For a writer that can only write a named file itself (a library): it is given
    // a temporary file beside the target to fill and a private folder beside it for
    // any files of its own (removed afterwards, whatever is in it), and returns
    // false with its reason when it failed. The filled file is then synced, checked
    // and renamed over the target like any other save.
    using FileFiller = std::function<bool(const QString &temporaryPath, const QString &scratchFolder, QString *why)>;
    static bool saveWith(const QString &path, const FileFiller &fill, QString *error = nullptr);

    // A set of files that belong together: every one is written beside its target
    // first and only when all are complete are they renamed into place; a rename
    // that fails puts back the files already replaced. A program stopped during the
    // renames leaves a journal, and the next save into the folder finishes the set
    // (SetJournal). False with the reason, and failedPath the file it concerns.
    struct Entry {
        QString path;
        QByteArray bytes;
    };
    static bool saveAll(const std::vector<Entry> &entries, QString *error = nullptr, QString *failedPath = nullptr);

    // Why a save failed, for the system error number of the step that failed.
    static QString reasonFor(int errorNumber);
    // Empty for a missing or regular target; else why it may not be saved over.
    static QString refusedTarget(const QString &path);
    // Empty for a missing or regular file; else what it is ("папка", "канал (fifo)").
    static QString otherKind(const QString &path);
    // The file a save of path replaces: path itself, or where its links lead.
    static QString resolvedTarget(const QString &path);

    // Called between the steps of every save (each file made, written, synced,
    // renamed, removed): tests slow a save down with it to stop the program at
    // any moment of one. None by default.
    static void setStepHook(void (*hook)());
    static void step();
};

} // namespace z5
