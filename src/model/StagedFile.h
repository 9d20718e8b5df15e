#pragma once
#include "model/TemporaryName.h"
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace z5 {

// A temporary file beside a target, created empty with the permissions the target
// has (or a new file would get), filled, synced and renamed over the target; it is
// removed unless it was renamed or released. Its name is a TemporaryName of this
// process. The file operations are the platform's (model/posix, model/windows); a
// failure gives its reason in words.
class StagedFile {
public:
    explicit StagedFile(const QString &target) : target_(target) {}
    ~StagedFile() { discard(); }
    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;
    StagedFile(StagedFile &&other) noexcept
        : target_(other.target_), temporary_(other.temporary_), handle_(other.handle_) {
        other.temporary_.clear();
        other.handle_ = kNoHandle;
    }

    bool create(QString *why);
    // Every byte or a failure: a part taken is retried until the rest is refused.
    bool write(const QByteArray &bytes, QString *why);
    // Closes the file for someone else to fill it by name.
    bool closeForFill(QString *why);
    // What was written reaches the disk and the file closes cleanly: the last
    // chance for the disk to say it did not take the bytes.
    bool finish(QString *why);
    bool renameOver(QString *why);
    void discard();
    // The file is someone else's to rename or remove from now on (a set's journal).
    void release() { temporary_.clear(); }

    const QString &temporary() const { return temporary_; }
    const QString &target() const { return target_; }

    // For a set of files replaced together: a second name for the old target,
    // kept until all are in place; empty, with the reason, when none could be made.
    static QString keepAside(const QString &target, QString *why);
    // Renames from over to in one step; false with the reason.
    static bool moveOver(const QString &from, const QString &to, QString *why);
    static void remove(const QString &path);
    // A private folder (for a library's own temporary files); false with the reason.
    static bool makeFolder(const QString &path, QString *why);
    // The folder's list of names reaches the disk (after renames in it).
    static void syncFolder(const QString &folder);

    // The number of this process, and whether a process of that number runs
    // (a process of another user included).
    static qint64 currentProcess();
    static bool processRuns(qint64 process);

private:
    static constexpr qintptr kNoHandle = -1;
    QString target_;
    QString temporary_;
    // The platform's open file: a descriptor, or a handle.
    qintptr handle_ = kNoHandle;
};

} // namespace z5
