// A damaged parameter file must be refused whole: the store either takes every
// value or keeps all of its own.
#include "model/ParameterStore.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    for (QChar sep : {QChar('.'), QChar(',')}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        z5::ParameterStore store;
        const QByteArray before = z5::ParameterFileWriter::write(store, sep);
        const z5::ParameterFileLoad r = z5::ParameterFileReader::read(buffer, sep, store);
        if (!r.ok && z5::ParameterFileWriter::write(store, sep) != before) std::abort();
    }
    return 0;
}
