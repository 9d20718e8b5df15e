// Background pictures come from anywhere: a file that is not a sane picture is
// refused with our message first, and any picture that loads is reduced and
// encoded for the controller without reading or writing outside the tables.
#include "FuzzApplication.h"
#include "screen/PictureLoader.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    z5fuzz::ensureApplication();
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const z5::PictureLoader::Result loaded = z5::PictureLoader::load(&buffer);
    if (!loaded.ok()) {
        if (!loaded.text().startsWith(z5::PictureLoader::wrongTypeMessage()) || loaded.reason.isEmpty()) std::abort();
        return 0;
    }
    for (int mode : {z5::ScreenModel::kRunLengthMode, z5::ScreenModel::kPackedMode}) {
        z5::ScreenModel model;
        model.setDisplayMode(mode);
        model.setColorThreshold(int(size % 256));
        z5::ScreenBuilder builder;
        const z5::ScreenBuilder::Result built = builder.build(model, loaded.image);
        if (!built.ok() && built.message.isEmpty()) std::abort();
        if (built.ok() && !built.stream.isEmpty() && built.stream.size() != z5::ScreenBuilder::kStreamBytes) std::abort();
    }
    return 0;
}
