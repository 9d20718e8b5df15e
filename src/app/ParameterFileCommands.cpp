#include "app/ParameterFileCommands.h"
#include "model/ParameterStore.h"
#include "model/Prompts.h"
#include "model/AtomicFileSave.h"
#include "parfile/ParameterFileReader.h"
#include "parfile/ParameterFileWriter.h"
#include <QFile>

namespace z5 {

ParameterFileCommands::ParameterFileCommands(ParameterStore &store, Prompts &prompts, QChar decimalSeparator)
    : store_(store), prompts_(prompts), decimalSeparator_(decimalSeparator) {}

QString ParameterFileCommands::fileFilter() { return QStringLiteral("parametr file (*.par)"); }
QString ParameterFileCommands::lockedMessage() { return QStringLiteral("Файл заблокирован!!!"); }
QString ParameterFileCommands::loadCaption() { return QStringLiteral("Загрузка параметров"); }

bool ParameterFileCommands::saveParameters() {
    const QString path = prompts_.saveFileName(QString(), fileFilter(), QString());
    if (path.isEmpty()) return false;
    return saveTo(path);
}

bool ParameterFileCommands::loadParameters() {
    const QString path = prompts_.openFileName(QString(), fileFilter(), QString());
    if (path.isEmpty()) return false;
    return loadFrom(path);
}

bool ParameterFileCommands::saveTo(const QString &path) {
    QString why;
    if (!AtomicFileSave::save(path, ParameterFileWriter::write(store_, decimalSeparator_), &why)) {
        // The reason goes on a line of its own under the fixed text.
        prompts_.message(why.isEmpty() ? lockedMessage() : lockedMessage() + QLatin1Char('\n') + why, QString(),
                         Prompts::Kind::Error);
        return false;
    }
    path_ = path;
    return true;
}

bool ParameterFileCommands::loadFrom(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompts_.message(QStringLiteral("Файл параметров не открывается: %1 (%2)").arg(path, file.errorString()),
                         loadCaption(), Prompts::Kind::Error);
        return false;
    }
    const ParameterFileLoad result = ParameterFileReader::read(file, decimalSeparator_, store_);
    if (!result.ok) {
        prompts_.message(result.message, loadCaption(), Prompts::Kind::Error);
        return false;
    }
    path_ = path;
    return true;
}

} // namespace z5
