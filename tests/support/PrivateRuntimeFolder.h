#pragma once
// Qt's offscreen platform looks for the user's runtime folder and says so on
// standard error when XDG_RUNTIME_DIR is unset (a root shell, CI), which test
// discovery, running the test programs as the build goes, would print into the
// build's output. A test program started without one gets a private, empty
// folder of its own for its run. Made before the application and ended after it.
#include <QFile>
#include <QTemporaryDir>
#include <optional>

namespace z5::testing {

class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder() {
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
        folder_.emplace();
        if (folder_->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder_->path()));
    }

private:
    std::optional<QTemporaryDir> folder_;
};

} // namespace z5::testing
