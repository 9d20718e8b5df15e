#include "model/AtomicFileSave.h"
#include "model/SetJournal.h"
#include "model/StagedFile.h"
#include "model/StaleTemporaries.h"
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cerrno>

namespace z5 {
namespace {

// The checks before anything is written; empty when the target may be replaced.
QString checkTarget(const QString &path) {
    if (path.isEmpty()) return QStringLiteral("Имя файла не задано.");
    return AtomicFileSave::refusedTarget(path);
}

void (*stepHook)() = nullptr;

bool fail(QString *error, const QString &why) {
    if (error) *error = why;
    return false;
}

} // namespace

QString AtomicFileSave::reasonFor(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Диск заполнен.");
    case EROFS: return QStringLiteral("Диск только для чтения.");
    case EACCES:
    case EPERM: return QStringLiteral("Нет прав на запись.");
    case EFBIG: return QStringLiteral("Файл слишком велик.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Папка не существует.");
    case EISDIR: return QStringLiteral("Это папка, а не файл.");
    case ENAMETOOLONG: return QStringLiteral("Слишком длинное имя файла.");
    case EIO: return QStringLiteral("Ошибка ввода-вывода на диске.");
    case ELOOP: return QStringLiteral("Ссылки на файл замкнуты в круг.");
    default: return QString();
    }
}

// What may not be replaced at all (otherKind) and where links lead
// (resolvedTarget) are decided per platform.

QString AtomicFileSave::refusedTarget(const QString &path) {
    const QString kind = otherKind(path);
    if (kind.isEmpty()) return QString();
    return QStringLiteral("%1 — %2, а не обычный файл; записывать в него нельзя.").arg(path, kind);
}

void AtomicFileSave::setStepHook(void (*hook)()) { stepHook = hook; }

void AtomicFileSave::step() {
    if (stepHook) stepHook();
}

bool AtomicFileSave::save(const QString &path, const QByteArray &bytes, QString *error) {
    const QString refused = checkTarget(path);
    if (!refused.isEmpty()) return fail(error, refused);
    StagedFile staged(resolvedTarget(path));
    StaleTemporaries::sweep(QFileInfo(staged.target()).absolutePath());
    QString why;
    if (!staged.create(&why)) return fail(error, why);
    step();
    if (!staged.write(bytes, &why)) return fail(error, why);
    step();
    if (!staged.finish(&why)) return fail(error, why);
    step();
    if (!staged.renameOver(&why)) return fail(error, why);
    return true;
}

bool AtomicFileSave::saveWith(const QString &path, const FileFiller &fill, QString *error) {
    const QString refused = checkTarget(path);
    if (!refused.isEmpty()) return fail(error, refused);
    StagedFile staged(resolvedTarget(path));
    StaleTemporaries::sweep(QFileInfo(staged.target()).absolutePath());
    QString why;
    if (!staged.create(&why) || !staged.closeForFill(&why)) return fail(error, why);
    const QString scratch = TemporaryName::beside(staged.target(), TemporaryName::Kind::Scratch, StagedFile::currentProcess());
    if (!StagedFile::makeFolder(scratch, &why)) return fail(error, why);
    const bool filled = fill(staged.temporary(), scratch, &why);
    QDir(scratch).removeRecursively();
    if (!filled) return fail(error, why);
    step();
    // The filler may have replaced the file by name: it must still be a plain file.
    const QString changed = refusedTarget(staged.temporary());
    if (!changed.isEmpty() || !QFileInfo::exists(staged.temporary()))
        return fail(error, QStringLiteral("Ошибка записи: временный файл пропал."));
    if (!staged.finish(&why) || !staged.renameOver(&why)) return fail(error, why);
    return true;
}

bool AtomicFileSave::saveAll(const std::vector<Entry> &entries, QString *error, QString *failedPath) {
    auto failOn = [&](const QString &path, const QString &why) {
        if (failedPath) *failedPath = path;
        return fail(error, why);
    };
    for (const Entry &e : entries) {
        const QString refused = checkTarget(e.path);
        if (!refused.isEmpty()) return failOn(e.path, refused);
    }
    if (entries.empty()) return true;
    std::vector<StagedFile> staged;
    staged.reserve(entries.size());
    for (const Entry &e : entries) staged.emplace_back(resolvedTarget(e.path));
    QSet<QString> swept;
    for (const StagedFile &s : staged) {
        const QString folder = QFileInfo(s.target()).absolutePath();
        if (!swept.contains(folder)) StaleTemporaries::sweep(folder);
        swept.insert(folder);
    }
    // Every file complete beside its target first, and every old one kept aside
    // under a second name: a full disk stops here, before any old file was replaced.
    std::vector<SetJournal::Member> members;
    auto dropAsides = [&] {
        for (const SetJournal::Member &m : members)
            if (!m.aside.isEmpty()) StagedFile::remove(m.aside);
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        StagedFile &s = staged[i];
        QString why;
        if (!s.create(&why) || !s.write(entries[i].bytes, &why) || !s.finish(&why)) {
            dropAsides();
            return failOn(entries[i].path, why);
        }
        step();
        SetJournal::Member m{s.target(), s.temporary(), QString()};
        if (QFileInfo::exists(s.target())) {
            m.aside = StagedFile::keepAside(s.target(), &why);
            if (m.aside.isEmpty()) {
                dropAsides();
                return failOn(entries[i].path, why);
            }
            step();
        }
        members.push_back(m);
    }
    SetJournal journal(members);
    QString why;
    if (!journal.write(&why)) {
        dropAsides();
        return failOn(entries.front().path, why);
    }
    // From here the journal answers for the staged files.
    for (StagedFile &s : staged) s.release();
    std::size_t refused = 0;
    if (!journal.complete(&why, &refused)) return failOn(entries[refused].path, why);
    return true;
}

} // namespace z5
