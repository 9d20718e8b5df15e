#include "ui/OwnedDialog.h"
#include "ui/WindowPlacement.h"
#include <QDialog>
#include <QEvent>
#include <QPointer>

namespace z5 {
namespace {

// Disabling a window disables its child windows too. A dialog is a window of
// its own, so whenever its owner is disabled (by the dialog, or by an exchange
// while it is open) it is enabled again on its own.
class KeepDialogEnabled : public QObject {
public:
    KeepDialogEnabled(QDialog *dialog, QWidget *owner) : QObject(dialog), dialog_(dialog) {
        owner->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::EnabledChange && dialog_ && !static_cast<QWidget *>(watched)->isEnabled())
            dialog_->setEnabled(true);
        return false;
    }

private:
    QPointer<QDialog> dialog_;
};

} // namespace

void holdOwner(QDialog *dialog, QWidget *owner) {
    if (!owner) return;
    if (dialog->parentWidget() != owner) dialog->setParent(owner, dialog->windowFlags() | Qt::Dialog);
    WindowPlacement::centreOn(dialog, owner);
    new KeepDialogEnabled(dialog, owner);
    owner->setEnabled(false);
}

} // namespace z5
