#include "import/NetlistImportCommand.h"
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
    if (!result.ok) prompts_.message(result.message);
    return result;
}

} // namespace z5
