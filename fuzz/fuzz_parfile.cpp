// A damaged parameter file must be refused whole, and a file that is taken must
// come back the same after a save: the store either takes every value or keeps all
// of its own.
#include "model/ParameterStore.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include <QBuffer>
#include <cstdlib>

namespace {

z5::ParameterFileLoad readInto(QByteArray bytes, QChar sep, z5::ParameterStore &store) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return z5::ParameterFileReader::read(buffer, sep, store);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const z5::ParameterStore empty;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QChar sep = size % 2 ? QChar('.') : QChar(',');
    z5::ParameterStore store;
    const z5::ParameterFileLoad r = readInto(bytes, sep, store);
    if (!r.ok) {
        if (!(store == empty) || r.message.isEmpty()) std::abort();
        return 0;
    }
    // What was taken is written and read back: the second store equals the first.
    z5::ParameterStore again;
    if (!readInto(z5::ParameterFileWriter::write(store, sep), sep, again).ok) std::abort();
    if (!(again == store)) std::abort();
    return 0;
}
