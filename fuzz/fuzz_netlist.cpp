// Netlists come from whatever the schematic editor wrote; a failed import must
// leave an empty project and never read outside a table.
#include "import/NetlistImport.h"
#include <QByteArray>
#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    for (auto mode : {z5::Numbering::Manual, z5::Numbering::Auto}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        z5::NetlistImport import;
        const z5::ImportResult r = import.importDevice(buffer, mode);
        if (!r.ok && !r.project.isEmpty()) std::abort();
        if (r.ok && !r.message.isEmpty()) std::abort();
    }
    return 0;
}
