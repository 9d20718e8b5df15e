#pragma once
#include <QString>
#include <QtGlobal>

namespace z5 {

// Whether a workbook the library wrote is whole, read back before it may replace
// the user's file. The library writes each part into a file of its own first and
// does not check those writes: a part cut short by a full disk or a size limit
// would go into a zip that is itself in order. So the zip is read back part by
// part (ZipArchive) and every XML part must be a complete document.
class WorkbookCheck {
public:
    // Empty when the file is a whole workbook; else what is wrong, in words.
    // partBytes: what the parts hold together, as far as they could be read.
    static QString problem(const QString &path, qint64 *partBytes = nullptr);
    // Why writes into folder stop short, asked of the folder itself: a file of
    // `bytes` bytes is written there and removed. The reason in words (a full
    // disk, a size limit), or empty when the folder took it all.
    static QString reasonWritesStop(const QString &folder, qint64 bytes);
};

} // namespace z5
