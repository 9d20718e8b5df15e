#pragma once
#include <QByteArray>
#include <QSize>
#include <QString>

class QScrollArea;
class QWidget;

namespace z5 {

// Window sizes and places: kept in the user's settings between runs, and always
// cut down to the screen, so that a window laid out for a large screen still
// fits 1024 x 768 at 125 % (its contents then scroll).
class WindowPlacement {
public:
    // Gives the window the place it had at the end of the last run, or the size it
    // wants, in either case no larger than the screen's free area.
    static void restore(QWidget *window, const QString &key, const QSize &wanted);
    // Keeps the window's place for the next run.
    static void save(const QWidget *window, const QString &key);
    // Makes the window fit the free area of its screen, moving it into view.
    static void fitToScreen(QWidget *window);
    // Gives a window not yet shown the size its layout wants, wide enough for its
    // caption in a title bar, centres it on `owner` and keeps it on the screen.
    static void centreOn(QWidget *window, const QWidget *owner);

    // The width of a vertical scroll bar: a window whose height is cut down to a
    // small screen still shows its whole width beside it.
    static int scrollBarRoom(const QWidget *window);

    // A scroll area without a frame that shows `content` at its own size from
    // the top left corner.
    static QScrollArea *scrolling(QWidget *content, QWidget *parent);
};

} // namespace z5
