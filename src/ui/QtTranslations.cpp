#include "ui/QtTranslations.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace z5 {

QString okButtonText() { return QStringLiteral("ОК"); }

QTranslator *installQtTranslations(QCoreApplication &app, const QLocale &locale) {
    // Owned by the application: translators must live as long as it does.
    auto *translator = new QTranslator(&app);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace z5
