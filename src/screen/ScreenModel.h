#pragma once
#include "screen/ScreenSlots.h"
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace z5 {

// The operator screen as the designer holds it: 16 parameter and 16 alarm slots
// with their controls, the alarm texts, the element words, the digit count, the
// background picture's path, the colour threshold and the display mode.
// Views listen to changed(); whoever edits a slot through its pointer calls
// notifyChanged() when done. Copies carry the data, not the listeners.
class ScreenModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlots = 16;
    // Colour tables: entry k is slot k's text colour, entry k + 16 its background.
    static constexpr int kColourEntries = 32;
    // Alarm texts: 32 are kept, saved and sent, though only the first 16 belong to elements.
    static constexpr int kAlarmTexts = 32;
    static constexpr int kCoordWords = 64;
    static constexpr int kMinDigits = 2;
    static constexpr int kMaxDigits = 6;
    // `TFT_LCD` entries: 0 run-length, any other packed.
    static constexpr int kRunLengthMode = 0;
    static constexpr int kPackedMode = 1;

    // The start state: that of "&Создать SCADA", six digits, threshold 120, packed mode.
    ScreenModel();
    ScreenModel(const ScreenModel &other);
    ScreenModel &operator=(const ScreenModel &other);

    // Tells the views that the screen changed.
    void notifyChanged() { emit changed(); }

    // What "&Создать SCADA" does: frees every slot and hides its controls, clears the
    // colours and the element words. Texts, the text/marker choice, the digit count and
    // the background picture stay.
    void createNew();

    // Slots 0..15; null outside.
    ScadaParameter *parameter(int k);
    const ScadaParameter *parameter(int k) const;
    ScadaAlarm *alarm(int k);
    const ScadaAlarm *alarm(int k) const;

    // Colour table entries 0..31 (k text colour, k + 16 background); out-of-range
    // reads give 0, writes and colours outside 0..7 are refused.
    int parameterColor(int entry) const;
    bool setParameterColor(int entry, int colour);
    int alarmColor(int entry) const;
    bool setAlarmColor(int entry, int colour);

    // The alarm texts, entries 0..31.
    QString alarmText(int entry) const;
    bool setAlarmText(int entry, const QString &text);
    // All 32 texts in order, as the alarm-texts table (`Table::AlarmTexts`) sends them.
    QStringList alarmTexts() const;

    // The element words. The build keeps with each odd word the
    // attribute bits it added, so that a word it keeps is never given them twice.
    std::int32_t coord(int word) const;
    std::int32_t coordAttributes(int word) const;
    void setCoord(int word, std::int32_t value, std::int32_t attributesIncluded = 0);
    // The attribute bits of an odd word from the slot's colours, kind and flags; 0 for even words.
    std::int32_t attributeBits(int word) const;

    // The digit count of number boxes, 2..6.
    int digits() const { return digits_; }
    bool setDigits(int digits);
    // A click on the digit sample label: 2, 3, 4, 5, 6, 2, ...
    void stepDigits();
    QString digitSample() const;                         // "12" .. "123456"
    int digitLabelWidth() const { return 100 * digits_; }  // twips
    int numberBoxWidth() const { return 200 * digits_; }   // twips, every number box

    // The background picture's path.
    QString backgroundPath() const { return backgroundPath_; }
    void setBackgroundPath(const QString &path) { backgroundPath_ = path; }

    // The colour threshold of the picture's reduction, a byte.
    int colorThreshold() const { return colorThreshold_; }
    bool setColorThreshold(int threshold);

    // The selection of `TFT_LCD` (0 run-length, other packed); never negative.
    int displayMode() const { return displayMode_; }
    bool setDisplayMode(int entry);
    bool isRunLength() const { return displayMode_ == kRunLengthMode; }

    // After a screen file is read: hide every element control, then show the control
    // of each used element where the element words put it.
    void restoreControlsFromCoords();

    bool operator==(const ScreenModel &o) const;
    bool operator!=(const ScreenModel &o) const { return !(*this == o); }

signals:
    void changed();

private:
    std::array<ScadaParameter, kSlots> parameters_{};
    std::array<ScadaAlarm, kSlots> alarms_{};
    std::array<QString, kAlarmTexts> alarmTexts_{};
    std::array<std::int32_t, kCoordWords> coord_{};
    std::array<std::int32_t, kCoordWords> coordAttributes_{};
    int digits_ = kMaxDigits;
    QString backgroundPath_;
    int colorThreshold_ = 120;
    int displayMode_ = kPackedMode;
};

} // namespace z5
