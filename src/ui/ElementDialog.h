#pragma once
#include "screen/ElementBounds.h"
#include "screen/ElementForms.h"
#include <QDialog>
#include <QPointer>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace z5 {

class ColourSwatchRow;
class ScreenEditor;

// What the alarm and parameter dialogs share: the X and Y fields (corrected as
// the user types), the colour swatches with their two samples, and the buttons
// "Ok", "Отмена" and "Удалить". The window that opened it is disabled until it closes.
class ElementDialog : public QDialog {
    Q_OBJECT
public:
    QLineEdit *xField() const { return xField_; }
    QLineEdit *yField() const { return yField_; }
    ColourSwatchRow *swatches() const { return swatches_; }
    QPushButton *okButton() const { return ok_; }
    QPushButton *cancelButton() const { return cancel_; }
    QPushButton *deleteButton() const { return delete_; }
    int slot() const { return slot_; }

protected:
    ElementDialog(ScreenEditor &editor, int slot, QWidget *owner, const QString &deleteName);

    // The grid the subclass fills from row `firstFreeRow()` on.
    QGridLayout *grid() const { return grid_; }
    int firstFreeRow() const { return 3; }
    void addButtons(int row);
    void setCoordinates(const QString &x, const QString &y);
    void setColours(int textColour, int backColour);
    // Marks the field a refused "Ok" names; clears the others.
    void markFault(FormFault fault, QLineEdit *textField = nullptr);
    // Pulls typed numbers into the current ranges.
    void correctCoordinates();

    virtual ElementBounds::Range xRange() const = 0;
    virtual ElementBounds::Range yRange() const = 0;
    virtual FormFault apply() = 0;
    virtual void remove() = 0;

    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

    ScreenEditor &editor_;
    const int slot_;

private:
    void showSamples();
    void finish();

    QPointer<QWidget> owner_;
    QGridLayout *grid_;
    QLineEdit *xField_;
    QLineEdit *yField_;
    ColourSwatchRow *swatches_;
    QLabel *offSample_;
    QLabel *onSample_;
    QPushButton *ok_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QPushButton *delete_ = nullptr;
    bool finished_ = false;
};

} // namespace z5
