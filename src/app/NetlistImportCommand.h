#pragma once
#include "import/NetlistImport.h"
#include "model/Prompts.h"

namespace z5 {

// The console's "&Загрузить схему P-CAD ASCII": asks for the netlist file, imports it
// and shows the message of a failed import in a message box.
class NetlistImportCommand {
public:
    NetlistImportCommand(NetlistImport &import, Prompts &prompts) : import_(import), prompts_(prompts) {}

    static QString fileFilter() { return QStringLiteral("scada file (*.net)"); }
    ImportResult run(Numbering mode);
    // The folder the next file dialog opens in: that of the last file chosen.
    const QString &folder() const { return folder_; }

private:
    NetlistImport &import_;
    Prompts &prompts_;
    QString folder_;
};

} // namespace z5
