#include "download/NameTables.h"
#include "model/Cp1251.h"
#include "model/ParameterStore.h"

namespace z5 {

QByteArray NameTables::fixedField(const QString &text, int width) {
    if (width <= 0) return QByteArray();
    QByteArray field = cp1251::encode(text).left(width);
    if (field.size() < width) field.append(width - field.size(), ' ');
    return field;
}

QByteArray NameTables::setpointNames(const ParameterStore &store) {
    QByteArray data;
    data.reserve(kSetpointNamesBytes);
    for (int instance = 0; instance < 12; ++instance)
        for (int row = 0; row < 9; ++row) data += fixedField(store.setpointNames.value(instance, row), 17);
    return data;
}

QByteArray NameTables::panelTexts(const ParameterStore &store) {
    QByteArray data;
    data.reserve(kPanelTextsBytes);
    for (int instance = 0; instance < 8; ++instance)
        for (int row = 0; row < 5; ++row) data += fixedField(store.panelTexts.value(instance, row), 17);
    return data;
}

QByteArray NameTables::trendNames(const ParameterStore &store) {
    QByteArray data;
    data.reserve(kTrendNamesBytes);
    for (int e = 0; e < 34; ++e) data += fixedField(store.trendTexts.element(e), 17);
    return data;
}

QByteArray NameTables::journalNames(const ParameterStore &store) {
    QByteArray data;
    data.reserve(kJournalNamesBytes);
    for (int e = 0; e < 33; ++e) data += fixedField(store.journalTexts.element(e), 20);
    return data;
}

QByteArray NameTables::journalBytes(const ParameterStore &store) {
    QByteArray data;
    data.reserve(kJournalBytesBytes);
    for (int e = 10; e <= 41; ++e) data.append(static_cast<char>(store.journalDelays.element(e)));
    return data;
}

QByteArray NameTables::alarmTexts(const QStringList &texts) {
    QByteArray data;
    data.reserve(kAlarmTextsBytes);
    for (int i = 0; i < kAlarmTexts; ++i)
        data += fixedField(i < texts.size() ? texts[i] : QString(), kAlarmTextWidth);
    return data;
}

} // namespace z5
