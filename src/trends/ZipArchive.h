#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

namespace z5 {

// The parts of a zip file as its central directory lists them, each read back
// in full: its local header found where the directory says, its bytes stored or
// inflated, their length and CRC-32 equal to what the directory gives. Enough to
// tell whether a file a library zipped on its own is whole; ZIP64, encryption
// and files spread over several disks are not read.
class ZipArchive {
public:
    struct Part {
        QString name;
        QByteArray bytes;
    };

    // False with what is wrong, in words.
    static bool read(const QByteArray &zip, std::vector<Part> *parts, QString *why);
};

} // namespace z5
