#pragma once
#include "CommandLine.h"
#include "screen/ScreenModel.h"
#include <QImage>
#include <functional>

namespace z5ctl {

// The screen that the screen verbs build from: --scd, --mode, --threshold and --picture.
struct ScreenInput {
    z5::ScreenModel model;
    QImage picture;

    // Reads the options; on a fault prints why and returns the exit code to end
    // with (usage faults through usage()), else 0.
    int read(const Arguments &a, const std::function<int(const QString &)> &usage);
    // A fault of the picture as read, with the file's name and size in front.
    QString pictureProblem(const QString &message) const;

private:
    QString picturePath_;
};

} // namespace z5ctl
