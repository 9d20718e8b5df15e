#pragma once
// Clicks and keys given as a hand gives them: a click goes to the top-level
// window at a position (the visible centre of a widget) and Qt's own
// hit-testing decides which widget gets it; keys go to whatever has the focus.
// A widget covered by another, cut off by the window or scrolled away, or a
// focus that lands elsewhere, is reported as a fault instead of being clicked
// straight through.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace z5::uitest::hand {

inline QString nameOf(const QWidget *w) {
    if (!w) return QStringLiteral("nothing");
    const QString name = w->objectName();
    return QString::fromLatin1(w->metaObject()->className()) + (name.isEmpty() ? QString() : QStringLiteral(" ") + name);
}

// The size a window may have to fit a 1024 x 768 screen at 125 %.
inline QSize smallScreen() { return {1024 * 4 / 5, 768 * 4 / 5}; }

// Empty when `dialog` is centred on its owner, inside the screen and fits a
// small screen with its frame; else what is wrong.
inline QString placementFault(const QWidget *dialog, const QWidget *owner) {
    const QRect placed = dialog->frameGeometry();
    const QString name = dialog->objectName();
    if (placed.width() > smallScreen().width() || placed.height() > smallScreen().height())
        return QStringLiteral("%1 is %2 x %3, larger than a small screen").arg(name).arg(placed.width()).arg(placed.height());
    if (const QScreen *screen = dialog->screen(); screen && !screen->availableGeometry().contains(placed))
        return QStringLiteral("%1 at %2,%3 leaves the screen").arg(name).arg(placed.x()).arg(placed.y());
    if (!owner) return {};
    const QPoint off = placed.center() - owner->frameGeometry().center();
    // Off by at most what a title bar and rounding make.
    if (qAbs(off.x()) > 8 || qAbs(off.y()) > 32)
        return QStringLiteral("%1 is %2,%3 px off its owner's centre").arg(name).arg(off.x()).arg(off.y());
    return {};
}

// The part of `w` that can be seen: its rectangle cut by every parent's, in
// the coordinates of its top-level window. Empty when hidden or cut away.
inline QRect visibleRect(const QWidget *w) {
    if (!w || !w->isVisible()) return {};
    const QWidget *top = w->window();
    QRect seen(w->mapTo(top, QPoint(0, 0)), w->size());
    for (const QWidget *p = w->parentWidget(); p && p != top; p = p->parentWidget())
        seen &= QRect(p->mapTo(top, QPoint(0, 0)), p->size());
    return seen & top->rect();
}

// Where the hand aims at `w`, in its window's coordinates.
inline QPoint aimAt(const QWidget *w) { return visibleRect(w).center(); }

// What hit-testing finds at `pos` of the top-level window `top`.
inline QWidget *widgetAt(QWidget *top, const QPoint &pos) {
    QWidget *hit = top->childAt(pos);
    return hit ? hit : top;
}

// Clicks the visible centre of `target` through its window. Empty when the
// click reached `target` (or a part of it) and, for a widget that takes the
// focus on a click, put the focus there; else what went wrong.
[[nodiscard]] inline QString click(QWidget *target, Qt::MouseButton button = Qt::LeftButton) {
    if (!target) return QStringLiteral("no widget to click");
    const QRect seen = visibleRect(target);
    if (seen.isEmpty()) return nameOf(target) + QStringLiteral(" cannot be seen in its window");
    QWidget *top = target->window();
    const QPoint pos = seen.center();
    QWidget *hit = widgetAt(top, pos);
    if (hit != target && !target->isAncestorOf(hit))
        return nameOf(target) + QStringLiteral(" is covered by ") + nameOf(hit);
    QTest::mouseClick(hit, button, {}, hit->mapFrom(top, pos));
    if (button == Qt::LeftButton && (target->focusPolicy() & Qt::ClickFocus) && target->isEnabled()) {
        QWidget *focus = top->focusWidget();
        if (focus != target && !target->isAncestorOf(focus))
            return QStringLiteral("a click on ") + nameOf(target) + QStringLiteral(" left the focus on ") + nameOf(focus);
    }
    return {};
}

// Where the keyboard's keys go: an open popup, else the window's focus.
inline QWidget *keyTarget(QWidget *top) {
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return top->focusWidget() ? top->focusWidget() : top;
}

inline void key(QWidget *top, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(keyTarget(top), k, modifiers);
}

// Types `text` key by key, in any alphabet, where the focus is.
inline void type(QWidget *top, const QString &text) {
    for (const QChar ch : text) {
        QWidget *target = keyTarget(top);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

// Tab, and the widget the focus went to.
inline QWidget *tab(QWidget *top) {
    key(top, Qt::Key_Tab);
    return top->focusWidget();
}

// Clicks a text field, selects all of it and types `text` over it.
[[nodiscard]] inline QString typeInto(QLineEdit *field, const QString &text) {
    const QString fault = click(field);
    if (!fault.isEmpty()) return fault;
    key(field->window(), Qt::Key_A, Qt::ControlModifier);
    type(field->window(), text);
    return {};
}

// Clicks a choice box open and picks the item `steps` below (above, when
// negative) the current one with the arrow keys and Return, as a hand does in
// the list that opens.
[[nodiscard]] inline QString choose(QComboBox *box, int steps) {
    const QString fault = click(box);
    if (!fault.isEmpty()) return fault;
    QWidget *top = box->window();
    if (!box->view()->isVisible()) return nameOf(box) + QStringLiteral(" did not open its list");
    for (int i = 0; i < qAbs(steps); ++i) key(top, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    key(top, Qt::Key_Return);
    return {};
}

} // namespace z5::uitest::hand
