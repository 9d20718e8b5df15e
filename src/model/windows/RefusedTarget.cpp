#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <string>
#include <windows.h>

namespace z5 {
namespace {

// Windows keeps these names for its devices in every folder, with any extension:
// "NUL.xlsx" or "COM4.net" is the device, and writing there writes to it.
bool reservedDeviceName(const QString &path) {
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString name = QFileInfo(path).fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    return reserved.match((dot < 0 ? name : name.left(dot)).trimmed()).hasMatch();
}

} // namespace

QString AtomicFileSave::otherKind(const QString &path) {
    if (path.isEmpty()) return QString();
    if (reservedDeviceName(path)) return QStringLiteral("устройство");
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(native.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return QString();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return QStringLiteral("папка");
    if (attributes & FILE_ATTRIBUTE_DEVICE) return QStringLiteral("устройство");
    return QString();
}

} // namespace z5
