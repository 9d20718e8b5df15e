#pragma once
// A workbook read back as a user would see it: the cells of its first sheet.
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace z5::test {

// Cells of an .xlsx sheet: reference -> shown text (shared strings resolved) and style index.
struct Sheet {
    QMap<QString, QString> value;
    QMap<QString, int> style;
    QByteArray sheetXml, stylesXml;
};

inline QByteArray unzipMember(const QString &file, const QString &member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    unzip.waitForFinished(10000);
    return unzip.readAllStandardOutput();
}

inline Sheet readSheet(const QString &file) {
    Sheet s;
    QStringList shared;
    QXmlStreamReader strings(unzipMember(file, QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"t")
            shared << strings.readElementText();
    s.sheetXml = unzipMember(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    s.stylesXml = unzipMember(file, QStringLiteral("xl/styles.xml"));
    QXmlStreamReader x(s.sheetXml);
    QString ref, type;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement()) continue;
        if (x.name() == u"c") {
            ref = x.attributes().value(QLatin1String("r")).toString();
            type = x.attributes().value(QLatin1String("t")).toString();
            s.style[ref] = x.attributes().value(QLatin1String("s")).toInt();
        } else if (x.name() == u"v") {
            const QString v = x.readElementText();
            s.value[ref] = type == u"s" ? shared.value(v.toInt()) : v;
        } else if (x.name() == u"t" && type == u"inlineStr") {
            // A sheet written row by row keeps its texts in the cells.
            s.value[ref] = x.readElementText();
        } else if (x.name() == u"f") {
            s.value[ref] = QStringLiteral("FORMULA");
        }
    }
    return s;
}

} // namespace z5::test
