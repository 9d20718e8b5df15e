#include "trends/WorkbookCheck.h"
#include "trends/ZipArchive.h"
#include "model/AtomicFileSave.h"
#include "model/StagedFile.h"
#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>

namespace z5 {
namespace {

// The parts without which no program opens the workbook.
const char *const kNeededParts[] = {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml", "xl/worksheets/sheet1.xml"};
// The probe is never longer than this: a folder that takes it is no longer full.
constexpr qint64 kMaxProbeBytes = 256 * 1024 * 1024;

// Parts larger than this (a sheet of many rows) are checked by their ends: the
// root element opened at the start and closed at the end. Reading a week's sheet
// through would take longer than writing it.
constexpr qsizetype kFullyParsedBytes = 4 * 1024 * 1024;

bool completeXml(const QByteArray &bytes) {
    if (bytes.size() > kFullyParsedBytes) {
        QXmlStreamReader head(bytes.left(64 * 1024));
        while (!head.atEnd() && head.readNext() != QXmlStreamReader::StartElement) {
        }
        if (head.tokenType() != QXmlStreamReader::StartElement) return false;
        return bytes.trimmed().endsWith("</" + head.qualifiedName().toUtf8() + '>');
    }
    QXmlStreamReader xml(bytes);
    bool root = false;
    while (!xml.atEnd()) root = xml.readNext() == QXmlStreamReader::StartElement || root;
    return root && !xml.hasError();
}

} // namespace

QString WorkbookCheck::problem(const QString &path, qint64 *partBytes) {
    if (partBytes) *partBytes = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("файл не читается");
    std::vector<ZipArchive::Part> parts;
    QString why;
    if (!ZipArchive::read(file.readAll(), &parts, &why)) return why;
    for (const ZipArchive::Part &p : parts)
        if (partBytes) *partBytes += p.bytes.size();
    for (const char *needed : kNeededParts)
        if (std::none_of(parts.begin(), parts.end(), [&](const ZipArchive::Part &p) { return p.name == QLatin1String(needed); }))
            return QStringLiteral("нет части %1").arg(QLatin1String(needed));
    for (const ZipArchive::Part &p : parts)
        if ((p.name.endsWith(QLatin1String(".xml")) || p.name.endsWith(QLatin1String(".rels"))) && !completeXml(p.bytes))
            return QStringLiteral("часть %1 оборвана").arg(p.name);
    return QString();
}

QString WorkbookCheck::reasonWritesStop(const QString &folder, qint64 bytes) {
    StagedFile probe(QDir(folder).filePath(QStringLiteral("probe")));
    QString why;
    if (!probe.create(&why)) return why;
    const QByteArray chunk(AtomicFileSave::kChunkBytes, '\0');
    for (qint64 left = qMin(bytes, kMaxProbeBytes); left > 0; left -= chunk.size())
        if (!probe.write(chunk, &why)) return why;
    if (!probe.finish(&why)) return why;
    return QString();
}

} // namespace z5
