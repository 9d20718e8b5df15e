#pragma once
#include "model/ParameterCatalogue.h"
#include <QString>
#include <QStringList>

namespace z5 {

// What one of the 17 rows of the parameter panel shows: a label with either a
// choice box or a text field beside it.
struct PanelRow {
    enum class Background { White, Name };
    // Text fields that hold a name are tinted; the colour is given as the
    // window system gave it (0x00BBGGRR): red 0xC0, green 0xFF, blue 0xFF.
    static constexpr unsigned kNameColourRef = 0xFFFFC0;

    FieldKind kind = FieldKind::Hidden;  // which control the row uses
    bool visible = false;
    QString caption;                     // `Label3`
    QStringList items;                   // `Combo1` items
    int selected = -1;                   // `Combo1` selection, -1 = none
    bool choiceEnabled = true;
    QString text;                        // `Text1`
    Background background = Background::White;
    // The text did not convert, so the store kept its value for this field.
    bool rejected = false;
    // Why the field's text is not in the store ("не число", "вне диапазона 0..255",
    // "сначала исправьте «Период»"); empty while it is stored.
    QString notStoredReason;
    // The field whose fault kept this one from being stored, or -1.
    int waitsFor = -1;
    // The user is typing: the text is not stored until the field is finished.
    bool editing = false;
    // Why the field is shown but cannot be changed: what it would hold is neither
    // stored nor sent ("не передаётся в Z5"). Empty for a field the user may edit.
    QString readOnlyReason;

    bool readOnly() const { return !readOnlyReason.isEmpty(); }

    bool showsChoice() const { return visible && kind == FieldKind::Choice; }
    bool showsText() const { return visible && (kind == FieldKind::Number || kind == FieldKind::Text); }
};

} // namespace z5
