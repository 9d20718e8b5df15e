#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

// Windows-1251, the controller's and the files' code page. Our own table keeps
// the conversion exact and identical on every platform.
namespace cp1251 {

// Characters with no Windows-1251 byte become '?'.
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
// True when every character of text has a Windows-1251 byte.
bool canEncode(const QString &text);

} // namespace cp1251
} // namespace z5
