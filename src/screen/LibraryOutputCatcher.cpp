#include "screen/LibraryOutputCatcher.h"
#include <QtGlobal>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <cstdlib>
#include <unistd.h>
#endif

namespace z5 {
namespace {

constexpr int kMaxEntries = 4;
constexpr int kMaxCapturedBytes = 1024;

QStringList *activeMessages = nullptr;

void keepMessage(QtMsgType, const QMessageLogContext &, const QString &text) {
    if (activeMessages && activeMessages->size() < kMaxEntries) activeMessages->append(text.trimmed().left(200));
}

} // namespace

LibraryOutputCatcher::LibraryOutputCatcher() {
    activeMessages = &messages_;
    previousHandler_ = reinterpret_cast<void *>(qInstallMessageHandler(keepMessage));
#ifdef Q_OS_UNIX
    // Standard error goes to an unnamed temporary file for the while.
    std::fflush(stderr);
    char name[] = "/tmp/z5-picture-XXXXXX";
    captureFd_ = ::mkstemp(name);
    if (captureFd_ >= 0) {
        ::unlink(name);
        savedStderr_ = ::dup(STDERR_FILENO);
        if (savedStderr_ < 0 || ::dup2(captureFd_, STDERR_FILENO) < 0) {
            if (savedStderr_ >= 0) ::close(savedStderr_);
            ::close(captureFd_);
            savedStderr_ = captureFd_ = -1;
        }
    }
#endif
}

LibraryOutputCatcher::~LibraryOutputCatcher() {
#ifdef Q_OS_UNIX
    if (savedStderr_ >= 0) {
        std::fflush(stderr);
        ::dup2(savedStderr_, STDERR_FILENO);
        ::close(savedStderr_);
        ::close(captureFd_);
    }
#endif
    qInstallMessageHandler(reinterpret_cast<QtMessageHandler>(previousHandler_));
    activeMessages = nullptr;
}

QStringList LibraryOutputCatcher::words() {
    QStringList all = messages_;
#ifdef Q_OS_UNIX
    if (captureFd_ >= 0) {
        std::fflush(stderr);
        char buffer[kMaxCapturedBytes];
        const ssize_t got = ::pread(captureFd_, buffer, sizeof buffer, 0);
        if (got > 0)
            for (const QString &line : QString::fromLocal8Bit(buffer, int(got)).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                if (all.size() < kMaxEntries) all << line.trimmed().left(200);
    }
#endif
    return all;
}

} // namespace z5
