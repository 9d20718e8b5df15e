#include "app/NetlistImportCommand.h"
#include <QFileInfo>

namespace z5 {

ImportResult NetlistImportCommand::run(Numbering mode) {
    const QString path = prompts_.openFileName(QString(), fileFilter(), folder_);
    ImportResult result;
    if (path.isEmpty()) {
        result = import_.importAgain(mode);
    } else {
        folder_ = QFileInfo(path).absolutePath();
        result = import_.importFile(path, mode);
    }
    if (!result.ok) {
        // A file that cannot be read is an error; a check the schematic fails is a warning to mend it.
        const bool unreadable = result.message.startsWith(QStringLiteral("Ошибка netLIST"));
        prompts_.message(result.message, QString(), unreadable ? Prompts::Kind::Error : Prompts::Kind::Warning);
    }
    return result;
}

} // namespace z5
