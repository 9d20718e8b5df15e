#pragma once

class QDialog;
class QWidget;

namespace z5 {

// Makes a dialog a window of the one that opened it: it stays above its owner
// and is centred on it, and the owner is disabled until the dialog gives it
// back. The dialog itself stays enabled although its owner is not.
void holdOwner(QDialog *dialog, QWidget *owner);

} // namespace z5
