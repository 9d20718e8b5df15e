#include "app/ShippedLicences.h"
#include <QDir>
#include <QFile>

namespace z5 {

namespace {

QString readText(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

QList<ShippedLicence> shippedLicences(const QString &programFolder) {
    QList<ShippedLicence> licences;
    const QDir beside(QDir(programFolder).filePath(QStringLiteral("licenses")));
    // The program's own licence first, then the components by name.
    QStringList files = beside.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    const QString own = QStringLiteral("Z5-Configurator.txt");
    if (files.removeOne(own)) files.prepend(own);
    for (const QString &file : files) {
        const QString text = readText(beside.filePath(file));
        if (!text.isEmpty()) licences.append({file.chopped(4), text});
    }
    if (!licences.isEmpty()) return licences;
    const QString copyright =
        QDir(programFolder).filePath(QStringLiteral("../share/doc/z5-configurator/copyright"));
    if (const QString text = readText(copyright); !text.isEmpty())
        licences.append({QStringLiteral("copyright"), text});
    return licences;
}

} // namespace z5
