#pragma once
#include <QList>
#include <QString>

namespace z5 {

// A licence text that ships with the program: its name and its text.
struct ShippedLicence {
    QString name;
    QString text;
};

// The licences the program ships with, read from where the installation put them:
// the licenses folder beside the programs (Windows: one .txt file per component),
// else the package's copyright file (Debian: share/doc/z5-configurator/copyright
// next to the bin folder). Empty when neither is there (a build tree).
QList<ShippedLicence> shippedLicences(const QString &programFolder);

} // namespace z5
