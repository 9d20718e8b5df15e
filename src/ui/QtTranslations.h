#pragma once
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace z5 {

// Loads Qt's own translations for the locale (the file dialogs' and message
// boxes' buttons and captions) and installs them in the application. Null
// when the system has none for it; the program then speaks Qt's English.
QTranslator *installQtTranslations(QCoreApplication &app, const QLocale &locale = QLocale());

} // namespace z5
