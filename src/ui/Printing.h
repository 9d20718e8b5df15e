#pragma once
#include <QString>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace z5 {

class Prompts;

// The one way the windows print: in landscape, through a preview titled
// "Печать" from which the user prints on paper or to PDF; the pages are the
// caller's to draw. A print that fails is told ("Печать не удалась").
namespace Printing {

using Paint = std::function<void(QPainter &painter, QPrinter &printer)>;

// Draws on the printer; false after telling the user it failed.
bool paintOn(QPrinter &printer, Prompts &prompts, const Paint &paint);
// The preview over `owner`; each time it needs the pages, `print` draws them.
void preview(QWidget *owner, const std::function<void(QPrinter &)> &print, const QString &documentName = QString());

} // namespace Printing
} // namespace z5
