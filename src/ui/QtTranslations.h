#pragma once
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace z5 {

// Loads Qt's own translations (the file dialogs' and message boxes' buttons
// and captions) and installs them in the application. The program speaks
// Russian whatever the system's locale, so Russian is the default. Null when
// the system has none; the program then speaks Qt's English.
QTranslator *installQtTranslations(QCoreApplication &app, const QLocale &locale = QLocale(QLocale::Russian, QLocale::Russia));

// "ОК" in Cyrillic letters: Qt's Russian translation keeps the Latin "OK".
QString okButtonText();

} // namespace z5
