#pragma once
#include <QObject>
#include <QPointer>

class QWidget;

namespace z5 {

// Keeps the user's hand off a window while its own short exchange is under way,
// without disabling it: a disabled window repaints itself whole twice for every
// read, and the request and the values would wait behind those repaints. While
// on, clicks, keys, wheel turns, context menus and shortcuts aimed at the window,
// its menus or its popups go nowhere; other windows (a message box) work as ever.
class ConsoleInputGuard : public QObject {
public:
    explicit ConsoleInputGuard(QWidget *window);
    ~ConsoleInputGuard() override;

    void setOn(bool on);
    bool isOn() const { return on_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool belongsToWindow(QObject *object) const;

    QPointer<QWidget> window_;
    bool on_ = false;
};

} // namespace z5
