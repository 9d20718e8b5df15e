#include "ui/ConsoleInputGuard.h"
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace z5 {
namespace {

// What would act on the window. A button or key let go passes: whatever it
// was pressed on (the block that started the read) sees the whole click.
bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

ConsoleInputGuard::ConsoleInputGuard(QWidget *window) : QObject(window), window_(window) {}

ConsoleInputGuard::~ConsoleInputGuard() { setOn(false); }

void ConsoleInputGuard::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    // Only while on: the application's every event passes the filter.
    if (on)
        QCoreApplication::instance()->installEventFilter(this);
    else if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool ConsoleInputGuard::belongsToWindow(QObject *object) const {
    // A widget of the window itself, or a popup (a menu of its menu bar, a list
    // dropped from one of its boxes) or an action owned from inside it. Other
    // windows it owns (a message box, a dialog) are their own.
    for (QObject *o = object; o; o = o->parent()) {
        if (o == window_) return true;
        if (o->isWidgetType()) {
            const auto *w = static_cast<QWidget *>(o);
            if (w->isWindow() && w->windowType() != Qt::Popup) return false;
        }
    }
    return false;
}

bool ConsoleInputGuard::eventFilter(QObject *watched, QEvent *event) {
    if (!on_ || !window_ || !isUserInput(event->type()) || !belongsToWindow(watched)) return false;
    // An overridden shortcut is not tried; the key that follows is dropped here too.
    if (event->type() == QEvent::ShortcutOverride) event->accept();
    else event->ignore();
    return true;
}

} // namespace z5
