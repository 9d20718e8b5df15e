#pragma once
#include <QStringList>

namespace z5 {

// Keeps what the image libraries say while a picture is decoded: Qt's own
// warnings, and what a C library prints to standard error itself (libpng does,
// "libpng error: ..."). The user sees our message first; these words may follow it.
// One catcher at a time, on the thread that owns standard error's use.
class LibraryOutputCatcher {
public:
    LibraryOutputCatcher();
    ~LibraryOutputCatcher();
    LibraryOutputCatcher(const LibraryOutputCatcher &) = delete;
    LibraryOutputCatcher &operator=(const LibraryOutputCatcher &) = delete;

    // Everything said so far, one line an entry (at most a few, shortened).
    QStringList words();

private:
    QStringList messages_;
    void *previousHandler_ = nullptr;
    int savedStderr_ = -1;
    int captureFd_ = -1;
};

} // namespace z5
