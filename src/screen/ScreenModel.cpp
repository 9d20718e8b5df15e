#include "screen/ScreenModel.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenPalette.h"

namespace z5 {

ScreenModel::ScreenModel() { createNew(); }

ScreenModel::ScreenModel(const ScreenModel &o)
    : QObject(), parameters_(o.parameters_), alarms_(o.alarms_), alarmTexts_(o.alarmTexts_), coord_(o.coord_),
      coordAttributes_(o.coordAttributes_), digits_(o.digits_), backgroundPath_(o.backgroundPath_),
      colorThreshold_(o.colorThreshold_), displayMode_(o.displayMode_) {}

ScreenModel &ScreenModel::operator=(const ScreenModel &o) {
    if (this == &o) return *this;
    parameters_ = o.parameters_;
    alarms_ = o.alarms_;
    alarmTexts_ = o.alarmTexts_;
    coord_ = o.coord_;
    coordAttributes_ = o.coordAttributes_;
    digits_ = o.digits_;
    backgroundPath_ = o.backgroundPath_;
    colorThreshold_ = o.colorThreshold_;
    displayMode_ = o.displayMode_;
    emit changed();
    return *this;
}

void ScreenModel::createNew() {
    for (ScadaParameter &p : parameters_) {
        p.used = false;
        p.type = ScadaParameter::Number;
        p.textColor = p.backColor = 0;
        p.numberBox.visible = p.level1Picture.visible = p.level2Picture.visible = p.gaugePicture.visible = false;
    }
    for (ScadaAlarm &s : alarms_) {
        s.used = false;
        s.alarm = false;
        s.textColor = s.backColor = 0;
        s.marker.visible = false;
        s.marker.left = 0;
        // A new screen shows no elements, the alarm text boxes included.
        s.textBox.visible = false;
    }
    coord_.fill(0);
    coordAttributes_.fill(0);
    emit changed();
}

ScadaParameter *ScreenModel::parameter(int k) { return k >= 0 && k < kSlots ? &parameters_[k] : nullptr; }
const ScadaParameter *ScreenModel::parameter(int k) const { return k >= 0 && k < kSlots ? &parameters_[k] : nullptr; }
ScadaAlarm *ScreenModel::alarm(int k) { return k >= 0 && k < kSlots ? &alarms_[k] : nullptr; }
const ScadaAlarm *ScreenModel::alarm(int k) const { return k >= 0 && k < kSlots ? &alarms_[k] : nullptr; }

namespace {
// Slots are edited directly; a colour outside the palette counts as black.
int paletteIndex(int colour) { return ScreenPalette::isIndex(colour) ? colour : 0; }
} // namespace

int ScreenModel::parameterColor(int entry) const {
    if (entry < 0 || entry >= kColourEntries) return 0;
    const ScadaParameter &p = parameters_[entry % kSlots];
    return paletteIndex(entry < kSlots ? p.textColor : p.backColor);
}

bool ScreenModel::setParameterColor(int entry, int colour) {
    if (entry < 0 || entry >= kColourEntries || !ScreenPalette::isIndex(colour)) return false;
    ScadaParameter &p = parameters_[entry % kSlots];
    (entry < kSlots ? p.textColor : p.backColor) = colour;
    return true;
}

int ScreenModel::alarmColor(int entry) const {
    if (entry < 0 || entry >= kColourEntries) return 0;
    const ScadaAlarm &s = alarms_[entry % kSlots];
    return paletteIndex(entry < kSlots ? s.textColor : s.backColor);
}

bool ScreenModel::setAlarmColor(int entry, int colour) {
    if (entry < 0 || entry >= kColourEntries || !ScreenPalette::isIndex(colour)) return false;
    ScadaAlarm &s = alarms_[entry % kSlots];
    (entry < kSlots ? s.textColor : s.backColor) = colour;
    return true;
}

QString ScreenModel::alarmText(int entry) const {
    return entry >= 0 && entry < kAlarmTexts ? alarmTexts_[entry] : QString();
}

bool ScreenModel::setAlarmText(int entry, const QString &text) {
    if (entry < 0 || entry >= kAlarmTexts) return false;
    alarmTexts_[entry] = text;
    return true;
}

QStringList ScreenModel::alarmTexts() const {
    QStringList all;
    for (const QString &t : alarmTexts_) all << t;
    return all;
}

std::int32_t ScreenModel::coord(int word) const { return word >= 0 && word < kCoordWords ? coord_[word] : 0; }

std::int32_t ScreenModel::coordAttributes(int word) const {
    return word >= 0 && word < kCoordWords ? coordAttributes_[word] : 0;
}

void ScreenModel::setCoord(int word, std::int32_t value, std::int32_t attributesIncluded) {
    if (word < 0 || word >= kCoordWords) return;
    coord_[word] = value;
    coordAttributes_[word] = attributesIncluded;
}

std::int32_t ScreenModel::attributeBits(int word) const {
    if (word < 0 || word >= kCoordWords || word % 2 == 0) return 0;
    if (word < 2 * kSlots) {
        const int k = word / 2;
        return parameterColor(k) * 256 + parameterColor(k + kSlots) * 2048 + parameters_[k].kind() * 16384;
    }
    const int k = (word - 2 * kSlots) / 2;
    const ScadaAlarm &s = alarms_[k];
    return alarmColor(k) * 256 + alarmColor(k + kSlots) * 2048 + (s.alarm ? 16384 : 0) + (s.isText ? 32768 : 0);
}

bool ScreenModel::setDigits(int digits) {
    if (digits < kMinDigits || digits > kMaxDigits) return false;
    digits_ = digits;
    emit changed();
    return true;
}

void ScreenModel::stepDigits() {
    digits_ = digits_ >= kMaxDigits ? kMinDigits : digits_ + 1;
    emit changed();
}

QString ScreenModel::digitSample() const { return QStringLiteral("123456").left(digits_); }

bool ScreenModel::setColorThreshold(int threshold) {
    if (threshold < 0 || threshold > 255) return false;
    colorThreshold_ = threshold;
    emit changed();
    return true;
}

bool ScreenModel::setDisplayMode(int entry) {
    if (entry < 0) return false;
    if (entry == displayMode_) return true;
    displayMode_ = entry;
    // The preview "Как на Z5" shows what the mode lets through.
    emit changed();
    return true;
}

void ScreenModel::restoreControlsFromCoords() {
    for (int k = 0; k < kSlots; ++k) {
        ScadaParameter &p = parameters_[k];
        p.numberBox.visible = p.level1Picture.visible = p.level2Picture.visible = p.gaugePicture.visible = false;
        const int px = coord_[2 * k];
        const int py = coord_[2 * k + 1] % 256;
        if (p.used) {
            ElementControl &c = *p.control(p.kind());
            c.left = ScreenGeometry::parameterLeft(p.kind(), px);
            c.top = ScreenGeometry::parameterTop(p.kind(), py);
            c.visible = true;
        }

        ScadaAlarm &s = alarms_[k];
        s.textBox.visible = s.marker.visible = false;
        if (s.used) {
            ElementControl &c = s.shownControl();
            c.left = ScreenGeometry::alarmLeft(coord_[2 * kSlots + 2 * k]);
            c.top = ScreenGeometry::alarmTop(coord_[2 * kSlots + 2 * k + 1] % 256);
            c.visible = true;
        }
    }
}

bool ScreenModel::operator==(const ScreenModel &o) const {
    return parameters_ == o.parameters_ && alarms_ == o.alarms_ && alarmTexts_ == o.alarmTexts_ && coord_ == o.coord_ &&
           coordAttributes_ == o.coordAttributes_ && digits_ == o.digits_ && backgroundPath_ == o.backgroundPath_ &&
           colorThreshold_ == o.colorThreshold_ && displayMode_ == o.displayMode_;
}

} // namespace z5
