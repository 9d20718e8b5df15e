#include "model/AtomicFileSave.h"
#include "model/StagedFile.h"
#include <QFileInfo>
#include <cerrno>

namespace z5 {
namespace {

// The checks before anything is written; empty when the target may be replaced.
QString checkTarget(const QString &path) {
    if (path.isEmpty()) return QStringLiteral("Имя файла не задано.");
    return AtomicFileSave::refusedTarget(path);
}

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

// What may not be replaced at all (refusedTarget) and where links lead
// (resolvedTarget) are decided per platform.

bool AtomicFileSave::save(const QString &path, const QByteArray &bytes, QString *error) {
    const QString refused = checkTarget(path);
    if (!refused.isEmpty()) return fail(error, refused);
    StagedFile staged(resolvedTarget(path));
    QString why;
    if (!staged.create(&why) || !staged.write(bytes, &why) || !staged.finish(&why) || !staged.renameOver(&why))
        return fail(error, why);
    return true;
}

bool AtomicFileSave::saveWith(const QString &path, const FileFiller &fill, QString *error) {
    const QString refused = checkTarget(path);
    if (!refused.isEmpty()) return fail(error, refused);
    StagedFile staged(resolvedTarget(path));
    QString why;
    if (!staged.create(&why) || !staged.closeForFill(&why)) return fail(error, why);
    if (!fill(staged.temporary(), &why)) return fail(error, why);
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
    // Every file complete beside its target first: a full disk stops here, before
    // any old file was replaced.
    std::vector<StagedFile> staged;
    staged.reserve(entries.size());
    for (const Entry &e : entries) {
        staged.emplace_back(resolvedTarget(e.path));
        QString why;
        if (!staged.back().create(&why) || !staged.back().write(e.bytes, &why) || !staged.back().finish(&why))
            return failOn(e.path, why);
    }
    // Then the renames, each old file kept aside by a second name until all are done.
    std::vector<QString> keptAside(entries.size());
    std::vector<bool> existed(entries.size(), false);
    size_t done = 0;
    QString why;
    for (; done < staged.size(); ++done) {
        const QString &target = staged[done].target();
        existed[done] = QFileInfo::exists(target);
        if (existed[done]) {
            const QString aside = staged[done].temporary() + QStringLiteral(".old");
            if (StagedFile::keepAside(target, aside)) keptAside[done] = aside;
        }
        if (!staged[done].renameOver(&why)) break;
    }
    const bool allDone = done == staged.size();
    for (size_t i = 0; i < done; ++i) {
        const QString &target = staged[i].target();
        if (keptAside[i].isEmpty()) {
            if (!allDone && !existed[i]) StagedFile::remove(target);
        } else if (allDone) {
            StagedFile::remove(keptAside[i]);
        } else {
            StagedFile::putBack(keptAside[i], target);
        }
    }
    if (!allDone) {
        if (!keptAside[done].isEmpty()) StagedFile::remove(keptAside[done]);
        return failOn(entries[done].path, why);
    }
    return true;
}

} // namespace z5
