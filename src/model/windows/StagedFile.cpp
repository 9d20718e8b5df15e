#include "model/StagedFile.h"
#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <string>
#include <windows.h>

namespace z5 {
namespace {

constexpr int kNameAttempts = 100;

std::wstring nativeName(const QString &path) { return QDir::toNativeSeparators(path).toStdWString(); }

HANDLE asHandle(qintptr handle) { return reinterpret_cast<HANDLE>(handle); }

// The reason in words for a Win32 error code, through the error number with the
// same meaning; a code without words is given as the bare code.
QString reasonFor(DWORD code) {
    int errorNumber = 0;
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: errorNumber = ENOSPC; break;
    case ERROR_WRITE_PROTECT: errorNumber = EROFS; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: errorNumber = EACCES; break;
    case ERROR_FILE_TOO_LARGE: errorNumber = EFBIG; break;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: errorNumber = ENOENT; break;
    case ERROR_DIRECTORY: errorNumber = EISDIR; break;
    case ERROR_FILENAME_EXCED_RANGE: errorNumber = ENAMETOOLONG; break;
    case ERROR_CRC:
    case ERROR_IO_DEVICE: errorNumber = EIO; break;
    default: break;
    }
    const QString words = errorNumber ? AtomicFileSave::reasonFor(errorNumber) : QString();
    return words.isEmpty() ? QStringLiteral("Ошибка записи [ошибка Windows %1].").arg(code) : words;
}

bool failed(DWORD code, QString *why) {
    if (why) *why = reasonFor(code);
    return false;
}

} // namespace

bool StagedFile::create(QString *why) {
    // Windows refuses to move a file over a read-only one, but not every system
    // that runs the program does (Wine): the mark is honoured before anything is written.
    const DWORD attributes = GetFileAttributesW(nativeName(target_).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return failed(ERROR_ACCESS_DENIED, why);
    // A name nobody holds, beside the target: CREATE_NEW never opens an existing file.
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString candidate = TemporaryName::beside(target_, TemporaryName::Kind::Staged, currentProcess());
        const HANDLE file = CreateFileW(nativeName(candidate).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<qintptr>(file);
            temporary_ = candidate;
            return true;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) return failed(code, why);
    }
    return failed(ERROR_FILE_EXISTS, why);
}

bool StagedFile::write(const QByteArray &bytes, QString *why) {
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const DWORD chunk = DWORD(std::min<qint64>(left, AtomicFileSave::kChunkBytes));
        DWORD written = 0;
        if (!WriteFile(asHandle(handle_), data, chunk, &written, nullptr)) return failed(GetLastError(), why);
        // A part taken is no failure yet; the write of the rest tells why it stops.
        if (written == 0) return failed(ERROR_IO_DEVICE, why);
        data += written;
        left -= written;
    }
    return true;
}

bool StagedFile::closeForFill(QString *why) {
    const HANDLE file = asHandle(handle_);
    handle_ = kNoHandle;
    if (!CloseHandle(file)) return failed(GetLastError(), why);
    return true;
}

bool StagedFile::finish(QString *why) {
    if (handle_ == kNoHandle) {
        // FlushFileBuffers needs a handle that may write.
        const HANDLE file = CreateFileW(nativeName(temporary_).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return failed(GetLastError(), why);
        handle_ = reinterpret_cast<qintptr>(file);
    }
    const HANDLE file = asHandle(handle_);
    handle_ = kNoHandle;
    if (!FlushFileBuffers(file)) {
        const DWORD code = GetLastError();
        CloseHandle(file);
        return failed(code, why);
    }
    if (!CloseHandle(file)) return failed(GetLastError(), why);
    return true;
}

bool StagedFile::renameOver(QString *why) {
    // Refused over a read-only or open file: the old one then stays as it was.
    if (!moveOver(temporary_, target_, why)) return false;
    temporary_.clear();
    return true;
}

void StagedFile::discard() {
    if (handle_ != kNoHandle) CloseHandle(asHandle(handle_));
    handle_ = kNoHandle;
    if (!temporary_.isEmpty()) DeleteFileW(nativeName(temporary_).c_str());
    temporary_.clear();
}

// A copy: the target stays in place under its own name until it is replaced. A hard
// link would share the target's read-only mark, and a read-only copy could not be
// removed afterwards; the copy is writable, and it works on every file system.
QString StagedFile::keepAside(const QString &target, QString *why) {
    const QString aside = TemporaryName::beside(target, TemporaryName::Kind::Aside, currentProcess());
    const std::wstring copy = nativeName(aside);
    if (!CopyFileW(nativeName(target).c_str(), copy.c_str(), TRUE)) {
        failed(GetLastError(), why);
        return QString();
    }
    const DWORD attributes = GetFileAttributesW(copy.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(copy.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return aside;
}

bool StagedFile::moveOver(const QString &from, const QString &to, QString *why) {
    if (!MoveFileExW(nativeName(from).c_str(), nativeName(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failed(GetLastError(), why);
    return true;
}

void StagedFile::remove(const QString &path) { DeleteFileW(nativeName(path).c_str()); }

bool StagedFile::makeFolder(const QString &path, QString *why) {
    if (!CreateDirectoryW(nativeName(path).c_str(), nullptr)) return failed(GetLastError(), why);
    return true;
}

// MoveFileEx with MOVEFILE_WRITE_THROUGH has already put each rename on the disk.
void StagedFile::syncFolder(const QString &) {}

qint64 StagedFile::currentProcess() { return qint64(GetCurrentProcessId()); }

bool StagedFile::processRuns(qint64 process) {
    if (process <= 0 || process > qint64(MAXDWORD)) return false;
    const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(process));
    // A process of another user may be there without letting us look at it.
    if (!handle) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(handle, &code) && code == STILL_ACTIVE;
    CloseHandle(handle);
    return running;
}

} // namespace z5
