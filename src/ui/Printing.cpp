#include "ui/Printing.h"
#include "model/Prompts.h"
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace z5::Printing {

bool paintOn(QPrinter &printer, Prompts &prompts, const Paint &paint) {
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) {
        prompts.message(QStringLiteral("Печать не удалась"), QStringLiteral("Печать"));
        return false;
    }
    paint(painter, printer);
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
        prompts.message(QStringLiteral("Печать не удалась"), QStringLiteral("Печать"));
        return false;
    }
    return true;
}

void preview(QWidget *owner, const std::function<void(QPrinter &)> &print, const QString &documentName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!documentName.isEmpty()) printer.setDocName(documentName);
    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, owner, [&print](QPrinter *p) { print(*p); });
    dialog.exec();
}

} // namespace z5::Printing
