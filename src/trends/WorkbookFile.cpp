#include "trends/WorkbookFile.h"
#include "trends/WorkbookCheck.h"
#include "trends/WorkbookSheet.h"
#include "model/AtomicFileSave.h"
#include "screen/LibraryOutputCatcher.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace z5 {

bool WorkbookFile::write(const QString &path, const SheetFiller &fillSheet, QString *error, bool constantMemory) {
    // The library writes the file beside the target by name, and its own files in
    // a private folder beside it, where a full disk or a size limit is the
    // target's own; a full temporary folder elsewhere does not matter. What the
    // library prints on standard error is caught: the user gets one message in
    // our words, its text in brackets.
    auto fill = [&](const QString &temporary, const QString &scratch, QString *why) {
        LibraryOutputCatcher libraryOutput;
        const QByteArray name = QFile::encodeName(temporary);
        QByteArray folder = QFile::encodeName(scratch);
        lxw_workbook_options options{};
        options.tmpdir = folder.data();
        options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
        errno = 0;
        lxw_workbook *book = workbook_new_opt(name.constData(), &options);
        lxw_worksheet *sheet = book ? workbook_add_worksheet(book, nullptr) : nullptr;
        if (!sheet) {
            if (book) workbook_close(book);
            *why = QStringLiteral("Книгу не удалось создать.");
            return false;
        }
        WorkbookSheet w(book, sheet);
        fillSheet(w);
        errno = 0;
        const lxw_error closed = workbook_close(book);
        const int systemError = errno;
        const lxw_error failed = w.error() != LXW_NO_ERROR ? w.error() : closed;
        if (failed != LXW_NO_ERROR) {
            const QString words = AtomicFileSave::reasonFor(systemError);
            *why = words.isEmpty() ? QStringLiteral("Ошибка записи [%1].").arg(QString::fromUtf8(lxw_strerror(failed))) : words;
            return false;
        }
        // A part the library could not write whole into its own file went into the
        // zip cut short: the folder is asked again for as much as the library
        // wrote, which names the reason (a full disk, a size limit).
        qint64 partBytes = 0;
        const QString problem = WorkbookCheck::problem(temporary, &partBytes);
        if (problem.isEmpty()) return true;
        const QString reason =
            WorkbookCheck::reasonWritesStop(scratch, partBytes + QFileInfo(temporary).size() + AtomicFileSave::kChunkBytes);
        *why = reason.isEmpty() ? QStringLiteral("Книга записана не полностью [%1].").arg(problem) : reason;
        return false;
    };
    return AtomicFileSave::saveWith(path, fill, error);
}

} // namespace z5
