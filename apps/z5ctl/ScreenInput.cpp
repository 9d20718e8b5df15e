#include "ScreenInput.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenFile.h"
#include <QFileInfo>

namespace z5ctl {

int ScreenInput::read(const Arguments &a, const std::function<int(const QString &)> &usage) {
    if (a.has(QStringLiteral("scd"))) {
        const z5::ScreenFileError e = z5::ScreenFile::load(a.value(QStringLiteral("scd")), model);
        if (e.isError()) {
            err(QStringLiteral("%1: %2").arg(a.value(QStringLiteral("scd")), e.message));
            return 1;
        }
    }
    if (a.has(QStringLiteral("mode"))) {
        const QString mode = a.value(QStringLiteral("mode"));
        if (mode == QLatin1String("rle"))
            model.setDisplayMode(z5::ScreenModel::kRunLengthMode);
        else if (mode == QLatin1String("packed"))
            model.setDisplayMode(z5::ScreenModel::kPackedMode);
        else
            return usage(QStringLiteral("--mode is rle or packed, not %1").arg(mode));
    }
    if (a.has(QStringLiteral("threshold"))) {
        bool ok = false;
        const int t = a.value(QStringLiteral("threshold")).toInt(&ok);
        if (!ok || !model.setColorThreshold(t)) return usage(QStringLiteral("--threshold is 0..255"));
    }
    picturePath_ = a.value(QStringLiteral("picture"));
    // A file that is not there is no file of the wrong type.
    if (!QFileInfo(picturePath_).isFile()) {
        err(QStringLiteral("%1: %2").arg(picturePath_, QFileInfo::exists(picturePath_) ? QStringLiteral("not a file")
                                                                                          : QStringLiteral("no such file")));
        return 1;
    }
    const z5::PictureLoader::Result loaded = z5::PictureLoader::load(picturePath_);
    if (!loaded.ok()) {
        err(QStringLiteral("%1: %2").arg(a.value(QStringLiteral("picture")), loaded.text()));
        return 1;
    }
    picture = loaded.image;
    return 0;
}

QString ScreenInput::pictureProblem(const QString &message) const {
    return QStringLiteral("%1 (%2 x %3): %4").arg(picturePath_).arg(picture.width()).arg(picture.height()).arg(message);
}

} // namespace z5ctl
