// A damaged screen file must name its line and change nothing.
#include "screen/ScreenFile.h"
#include "screen/ScreenModel.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    z5::ScreenModel model;
    QString error;
    const QByteArray before = z5::ScreenFile::write(model, &error);
    const z5::ScreenFileError r = z5::ScreenFile::read(bytes, model);
    if (r.isError() && z5::ScreenFile::write(model, &error) != before) std::abort();
    return 0;
}
