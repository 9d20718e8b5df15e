#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace z5 {

class ParameterStore;

// Data blocks of the controller's name and text tables (5 to 9 and 11). Texts go
// as fixed-width Windows-1251 fields; a character the code page lacks is sent as
// "?" so that every field keeps its width.
class NameTables {
public:
    static constexpr int kSetpointNamesBytes = 12 * 9 * 17;  // table 5
    static constexpr int kPanelTextsBytes = 8 * 5 * 17;      // table 6
    static constexpr int kTrendNamesBytes = 34 * 17;         // table 7
    static constexpr int kJournalNamesBytes = 33 * 20;       // table 8
    static constexpr int kJournalBytesBytes = 32;            // table 9
    static constexpr int kAlarmTextsBytes = 32 * 10;         // table 11
    static constexpr int kAlarmTexts = 32;
    static constexpr int kAlarmTextWidth = 10;

    // text in Windows-1251, padded with blanks and cut to exactly width bytes.
    static QByteArray fixedField(const QString &text, int width);

    // `Table::SetpointNames`: `StoreTable::SetpointNames` instances 0..11, rows 0..8, 17 bytes each.
    static QByteArray setpointNames(const ParameterStore &store);
    // `Table::PanelTexts`: `StoreTable::PanelTexts` instances 0..7, rows 0..4, 17 bytes each.
    static QByteArray panelTexts(const ParameterStore &store);
    // `Table::TrendNames`: `StoreTable::TrendTexts` elements 0..33, 17 bytes each.
    static QByteArray trendNames(const ParameterStore &store);
    // `Table::JournalNames`: `StoreTable::JournalTexts` elements 0..32, 20 bytes each.
    static QByteArray journalNames(const ParameterStore &store);
    // `Table::JournalBytes`: `StoreTable::JournalDelays` elements 10..41.
    static QByteArray journalBytes(const ParameterStore &store);
    // `Table::AlarmTexts`: alarm texts 0..31, each exactly 10 bytes so the block always holds
    // the 320 bytes its header announces; missing texts are blank.
    static QByteArray alarmTexts(const QStringList &texts);
};

} // namespace z5
