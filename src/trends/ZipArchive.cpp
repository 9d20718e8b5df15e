#include "trends/ZipArchive.h"
#include <zlib.h>
#include <limits>

namespace z5 {
namespace {

constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kDirectoryEnd = 0x06054b50;
constexpr int kLocalHeaderBytes = 30;
constexpr int kDirectoryEntryBytes = 46;
constexpr int kDirectoryEndBytes = 22;
constexpr int kMaxCommentBytes = 0xFFFF;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
constexpr quint16 kEncrypted = 0x0001;
// No part of a workbook of ours comes near this; a larger claim is damage.
constexpr quint32 kMaxPartBytes = 256u * 1024 * 1024;

// Little-endian fields at an offset, checked against the end of the data.
class Fields {
public:
    explicit Fields(const QByteArray &data) : data_(data) {}
    bool has(qint64 at, qint64 bytes) const { return at >= 0 && bytes >= 0 && at + bytes <= data_.size(); }
    quint16 u16(qint64 at) const { return quint16(byte(at) | byte(at + 1) << 8); }
    quint32 u32(qint64 at) const { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; }

private:
    quint32 byte(qint64 at) const { return quint8(data_.at(at)); }
    const QByteArray &data_;
};

bool fail(QString *why, const QString &what) {
    if (why) *why = what;
    return false;
}

bool inflateRaw(const char *data, quint32 size, quint32 expected, QByteArray *out) {
    out->resize(qsizetype(expected));
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    z.avail_in = size;
    z.next_out = reinterpret_cast<Bytef *>(out->data());
    z.avail_out = expected;
    const int result = inflate(&z, Z_FINISH);
    const bool whole = result == Z_STREAM_END && z.total_out == expected && z.avail_in == 0;
    inflateEnd(&z);
    return whole;
}

} // namespace

bool ZipArchive::read(const QByteArray &zip, std::vector<Part> *parts, QString *why) {
    const Fields f(zip);
    qint64 end = zip.size() - kDirectoryEndBytes;
    const qint64 lowest = qMax<qint64>(0, end - kMaxCommentBytes);
    while (end >= lowest && !(f.has(end, 4) && f.u32(end) == kDirectoryEnd)) --end;
    if (end < lowest) return fail(why, QStringLiteral("нет оглавления zip"));
    const quint16 count = f.u16(end + 10);
    const quint32 directorySize = f.u32(end + 12);
    const quint32 directoryAt = f.u32(end + 16);
    if (f.u16(end + 4) != 0 || f.u16(end + 6) != 0 || f.u16(end + 8) != count ||
        end + kDirectoryEndBytes + f.u16(end + 20) != zip.size() || qint64(directoryAt) + directorySize != end || count == 0)
        return fail(why, QStringLiteral("оглавление zip повреждено"));
    parts->clear();
    qint64 at = directoryAt;
    for (int i = 0; i < count; ++i) {
        if (!f.has(at, kDirectoryEntryBytes) || f.u32(at) != kDirectoryEntry)
            return fail(why, QStringLiteral("оглавление zip повреждено"));
        const quint16 flags = f.u16(at + 8), method = f.u16(at + 10);
        const quint32 crc = f.u32(at + 16), packed = f.u32(at + 20), size = f.u32(at + 24);
        const quint16 nameBytes = f.u16(at + 28), extraBytes = f.u16(at + 30), commentBytes = f.u16(at + 32);
        const quint32 localAt = f.u32(at + 42);
        if (!f.has(at + kDirectoryEntryBytes, nameBytes)) return fail(why, QStringLiteral("оглавление zip повреждено"));
        const QString name = QString::fromUtf8(zip.mid(at + kDirectoryEntryBytes, nameBytes));
        at += kDirectoryEntryBytes + nameBytes + extraBytes + commentBytes;
        const QString damaged = QStringLiteral("часть %1 повреждена").arg(name);
        if ((flags & kEncrypted) || (method != kStored && method != kDeflated) || size > kMaxPartBytes ||
            packed == std::numeric_limits<quint32>::max() || localAt == std::numeric_limits<quint32>::max())
            return fail(why, damaged);
        if (!f.has(localAt, kLocalHeaderBytes) || f.u32(localAt) != kLocalHeader) return fail(why, damaged);
        const qint64 dataAt = qint64(localAt) + kLocalHeaderBytes + f.u16(localAt + 26) + f.u16(localAt + 28);
        if (dataAt + packed > directoryAt) return fail(why, damaged);
        Part part{name, QByteArray()};
        if (method == kStored) {
            if (packed != size) return fail(why, damaged);
            part.bytes = zip.mid(dataAt, packed);
        } else if (!inflateRaw(zip.constData() + dataAt, packed, size, &part.bytes)) {
            return fail(why, damaged);
        }
        const uLong sum = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(part.bytes.constData()), uInt(part.bytes.size()));
        if (sum != crc) return fail(why, damaged);
        parts->push_back(std::move(part));
    }
    if (at != end) return fail(why, QStringLiteral("оглавление zip повреждено"));
    return true;
}

} // namespace z5
