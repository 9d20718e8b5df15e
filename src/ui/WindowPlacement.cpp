#include "ui/WindowPlacement.h"
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include "model/UserSettings.h"
#include <QWidget>

namespace z5 {
namespace {

QString settingsKey(const QString &key) { return QStringLiteral("windows/") + key; }

QRect freeArea(const QWidget *window) {
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

void WindowPlacement::restore(QWidget *window, const QString &key, const QSize &wanted) {
    const auto settings = userSettings();
    const QByteArray kept = settings ? settings->value(settingsKey(key)).toByteArray() : QByteArray();
    if (kept.isEmpty() || !window->restoreGeometry(kept)) window->resize(wanted);
    fitToScreen(window);
}

void WindowPlacement::save(const QWidget *window, const QString &key) {
    if (const auto settings = userSettings()) settings->setValue(settingsKey(key), window->saveGeometry());
}

void WindowPlacement::fitToScreen(QWidget *window) {
    const QRect area = freeArea(window);
    if (area.isEmpty()) return;
    // The frame around the client area is not known before the window is shown:
    // leave room for a title bar and borders.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QSize room(area.width() - qMax(frame.width(), 8), area.height() - qMax(frame.height(), 32));
    const QSize size = window->size().boundedTo(room);
    if (size != window->size()) window->resize(size);
    QRect placed = window->frameGeometry();
    if (placed.right() > area.right()) placed.moveRight(area.right());
    if (placed.bottom() > area.bottom()) placed.moveBottom(area.bottom());
    if (placed.left() < area.left()) placed.moveLeft(area.left());
    if (placed.top() < area.top()) placed.moveTop(area.top());
    if (placed.topLeft() != window->frameGeometry().topLeft()) window->move(placed.topLeft());
}

void WindowPlacement::centreOn(QWidget *window, const QWidget *owner) {
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    // A title bar shows the caption beside its icon and three buttons.
    const int captionWidth = QFontMetrics(QApplication::font()).horizontalAdvance(window->windowTitle()) + 140;
    if (window->width() < captionWidth && window->maximumWidth() >= captionWidth) window->resize(captionWidth, window->height());
    if (owner) {
        const QRect frame = window->frameGeometry();
        const QPoint centre = owner->frameGeometry().center();
        window->move(centre - QPoint(frame.width() / 2, frame.height() / 2));
    }
    fitToScreen(window);
}

int WindowPlacement::scrollBarRoom(const QWidget *window) {
    return window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window) + 2;
}

QScrollArea *WindowPlacement::scrolling(QWidget *content, QWidget *parent) {
    auto *area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setWidgetResizable(false);
    area->setWidget(content);
    return area;
}

} // namespace z5
