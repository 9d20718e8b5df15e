#pragma once
#include <QString>
#include <QStringList>

namespace z5 {

// Where the file dialogs open and which suffix a saved file gets. The folder of
// the last file chosen is kept per kind of file (its suffix) in the user's
// settings, so parameter files and screen files each open where they were left.
class FileFolders {
public:
    // The kind of file a dialog filter offers: the suffix of its first pattern,
    // "par" for "parametr file (*.par)"; empty when the filter names none.
    static QString kindOf(const QString &filter);
    // The path with the filter's suffix added when the name has no suffix of
    // its own ("test1" becomes "test1.par"); other paths as they are.
    static QString withDefaultSuffix(const QString &path, const QString &filter);

    // The folder a dialog of this kind opens in: the one given by the caller,
    // else the one remembered, else the user's documents.
    static QString folderFor(const QString &kind, const QString &given);
    // Remembers the folder of a chosen file for its kind.
    static void remember(const QString &kind, const QString &chosenPath);
    // Every folder remembered, for any kind, once each.
    static QStringList remembered();
};

} // namespace z5
