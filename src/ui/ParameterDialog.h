#pragma once
#include "ui/ElementDialog.h"

class QCheckBox;
class QComboBox;

namespace z5 {

// The parameter dialog `parametr` for one parameter slot: position, colours and
// the kind (a number, or with the check box one of the pictures of `Combo1`).
// The kind chosen here reaches the screen only with "Ok".
class ParameterDialog : public ElementDialog {
    Q_OBJECT
public:
    ParameterDialog(ScreenEditor &editor, int slot, QWidget *owner);

    QCheckBox *graphic() const { return graphic_; }
    QComboBox *kindChoice() const { return combo_; }
    QLabel *numberLabel() const { return numberLabel_; }
    QLabel *kindPicture() const { return picture_; }
    int kind() const { return kind_; }

protected:
    ElementBounds::Range xRange() const override;
    ElementBounds::Range yRange() const override;
    FormFault apply() override;
    void remove() override;

private:
    ParameterForm form() const;
    void showKind();

    QCheckBox *graphic_;
    QComboBox *combo_;
    QLabel *numberLabel_;
    QLabel *picture_;
    int kind_ = 0;
};

} // namespace z5
