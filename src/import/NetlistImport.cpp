#include "import/NetlistImport.h"
#include "import/BlockTableBuilder.h"
#include "import/LinkTableBuilder.h"
#include "import/NetlistFault.h"
#include "import/NetlistReader.h"
#include "model/Cp1251.h"
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

namespace z5 {
namespace {

ImportResult failure(const QString &message) {
    ImportResult result;
    result.message = message;
    return result;
}

} // namespace

ImportResult NetlistImport::fail(const QString &message) {
    // A file that could not be read leaves nothing to import again.
    netlistLines_.clear();
    fileLines_.clear();
    lineCount_ = 1;
    sourceName_.clear();
    sourceHash_.clear();
    return failure(message);
}

ImportResult NetlistImport::importText(const QString &text, Numbering mode) {
    NetlistText read;
    const QString fault = NetlistReader::read(text, read);
    if (!fault.isEmpty()) return fail(fault);
    netlistLines_ = std::move(read.lines);
    fileLines_ = std::move(read.fileLines);
    lineCount_ = int(netlistLines_.size()) + 1;
    sourceName_.clear();
    sourceHash_.clear();
    return run(mode);
}

QString NetlistImport::tooLargeMessage() {
    return NetlistFault::text(QStringLiteral("файл больше %1 МиБ").arg(kMaxBytes / (1024 * 1024)));
}

ImportResult NetlistImport::importStream(QTextStream &stream, Numbering mode) {
    const QString text = stream.read(kMaxBytes + 1);
    if (text.size() > kMaxBytes) return fail(tooLargeMessage());
    return importText(text, mode);
}

ImportResult NetlistImport::importDevice(QIODevice &device, Numbering mode) {
    // Read no more than the bound allows, so that an endless device (/dev/zero) or a
    // huge file is refused before it takes memory.
    // In pieces: read(n) sets n bytes aside at once, whatever the file holds.
    constexpr qint64 kPieceBytes = 64 * 1024;
    QByteArray bytes;
    while (bytes.size() <= kMaxBytes) {
        const QByteArray part = device.read(std::min(kPieceBytes, kMaxBytes + 1 - qint64(bytes.size())));
        if (part.isEmpty()) break;
        bytes += part;
    }
    if (bytes.size() > kMaxBytes) return fail(tooLargeMessage());
    return importBytes(bytes, mode, QString());
}

ImportResult NetlistImport::importBytes(const QByteArray &bytes, Numbering mode, const QString &name) {
    ImportResult result = importText(cp1251::decode(bytes), mode);
    // A file whose lines could not be read leaves none behind, and so no source.
    if (!result.ok && netlistLines_.isEmpty()) return result;
    sourceName_ = name;
    sourceHash_ = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    result.netlistName = sourceName_;
    result.netlistHash = sourceHash_;
    return result;
}

ImportResult NetlistImport::importFile(const QString &path, Numbering mode) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(NetlistFault::text(QStringLiteral("не удалось открыть файл ") + path));
    ImportResult result = importDevice(file, mode);
    if (!sourceHash_.isEmpty()) {
        sourceName_ = QFileInfo(path).fileName();
        result.netlistName = sourceName_;
    }
    return result;
}

ImportResult NetlistImport::importAgain(Numbering mode) const {
    ImportResult result = run(mode);
    result.netlistName = sourceName_;
    result.netlistHash = sourceHash_;
    return result;
}

ImportResult NetlistImport::run(Numbering mode) const {
    std::vector<NetlistLine> lines;
    lines.reserve(netlistLines_.size());
    for (qsizetype i = 0; i < netlistLines_.size(); ++i)
        lines.push_back(NetlistLine::parse(netlistLines_[i], fileLines_.value(i)));

    ImportResult result;
    BlockTableBuilder blocks(result.project, mode);
    QString fault = blocks.collectComponents(lines);
    if (fault.isEmpty()) fault = blocks.buildBlocks();
    if (fault.isEmpty()) fault = blocks.buildPriorityOrder();
    if (fault.isEmpty()) fault = LinkTableBuilder(result.project, std::move(lines)).build();
    if (!fault.isEmpty()) return failure(fault);
    result.ok = true;
    result.layout = ConsoleLayout::fromProject(result.project);
    return result;
}

} // namespace z5
