#include "download/ParameterTables.h"
#include "link/ValueCodec.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterCatalogue.h"
#include "model/ParameterStore.h"
#include <QLocale>
#include <charconv>
#include <cmath>

namespace z5 {
namespace {

constexpr int kSetpoints = 8;

// Appends one value, or records it as a fault when it does not fit.
void encodeInto(QByteArray *data, std::vector<ParameterFault> *faults, int type, int slot, int row, float value) {
    const auto bytes = ValueCodec::encodeValue(value);
    if (!bytes) {
        faults->push_back({ParameterFault::Kind::DoesNotFit, type, slot, row, value});
        return;
    }
    if (data)
        for (std::uint8_t b : *bytes) data->append(static_cast<char>(b));
}

// Walks table 10; data may be null to check only.
void walkParameters(const ParameterStore &store, QByteArray *data, std::vector<ParameterFault> *faults) {
    for (const auto &section : ParameterTables::parameterLayout()) {
        const ParameterStore::NumberTable *table = store.numberTable(section.type);
        for (int slot = 0; slot < section.instances; ++slot)
            for (int row = 0; row < section.rows; ++row) {
                const float value = section.type == BlockType::RS4 ? ParameterTables::kRs4Values[row]
                                                        : table->value(slot, row);
                encodeInto(data, faults, section.type, slot, row, value);
            }
    }
}

bool validSetpointSlot(const ParameterStore &store, int slot) {
    return slot >= 0 && slot < store.numbersS_P.slotCount();
}

void walkSetpoints(const ParameterStore &store, int slot, QByteArray *data, std::vector<ParameterFault> *faults) {
    if (!validSetpointSlot(store, slot)) {
        faults->push_back({ParameterFault::Kind::NoSuchInstance, BlockType::S_P, slot, 0, 0.0f});
        return;
    }
    for (int row = 0; row < kSetpoints; ++row)
        encodeInto(data, faults, BlockType::S_P, slot, row, store.numbersS_P.value(slot, row));
}

// The value as the user typed it: the shortest digits that give it back, written
// out without an exponent unless the number is too large or small for that.
QString typedValue(float value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value);
    if (end.ec != std::errc()) return QString::number(static_cast<double>(value), 'g', 7);
    QString written = QString::fromLatin1(text, static_cast<int>(end.ptr - text));
    const int e = written.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        const int exponent = written.mid(e + 1).toInt();
        QString mantissa = written.left(e);
        const bool negative = mantissa.startsWith(QLatin1Char('-'));
        if (negative) mantissa.remove(0, 1);
        const int point = mantissa.indexOf(QLatin1Char('.'));
        const int whole = point < 0 ? mantissa.size() : point;
        QString digits = mantissa.remove(QLatin1Char('.'));
        const int newWhole = whole + exponent;
        if (exponent > 0 && exponent < 15) {
            if (digits.size() < newWhole) digits += QString(newWhole - digits.size(), QLatin1Char('0'));
            else if (digits.size() > newWhole) digits.insert(newWhole, QLatin1Char('.'));
            written = (negative ? QStringLiteral("-") : QString()) + digits;
        } else if (exponent < 0 && exponent > -5) {
            written = (negative ? QStringLiteral("-0.") : QStringLiteral("0.")) +
                      QString(-newWhole, QLatin1Char('0')) + digits;
        }
    }
    return written.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// The label of the console row that edits this element, so that the user finds
// it in the panel; empty when no row of the block's panel shows it.
QString rowLabel(int type, int slot, int row) {
    const ParameterCatalogue &catalogue = ParameterCatalogue::standard();
    const StorePlace wanted{StoreTable::Numbers, type, slot, row};
    for (int r = 0; r < ParameterCatalogue::kRows; ++r) {
        if (catalogue.role(type, r) != RowRole::Value || catalogue.kind(type, r) != FieldKind::Number) continue;
        // A row that moves with a channel or a step shows this element for one choice of it.
        bool moves = false;
        for (Selector s : {Selector::Channel, Selector::Step, Selector::Event, Selector::Page, Selector::Key})
            moves = moves || catalogue.dependsOn(type, r, s);
        for (int choice = 0; choice < (moves ? 256 : 1); ++choice) {
            const Selectors selectors{choice, choice, choice, choice, choice};
            const auto place = catalogue.fieldAddress(type, slot, r, selectors);
            if (place && *place == wanted) return catalogue.label(type, r).trimmed();
        }
    }
    return QString();
}

QString describe(const ParameterFault &f) {
    const QString mnemonic = BlockCatalogue::mnemonic(f.type);
    if (f.kind == ParameterFault::Kind::NoSuchInstance)
        return QStringLiteral("%1 %2: нет такого экземпляра").arg(mnemonic).arg(f.slot + 1);
    const QString value = typedValue(f.value);
    if (f.type == BlockType::GRA)
        return QStringLiteral("%1, столбец %2, строка %3: %4").arg(mnemonic).arg(f.slot).arg(f.row).arg(value);
    if (f.type == BlockType::RS4 || f.type == BlockType::JUR || f.type == BlockType::SCA)
        return QStringLiteral("%1, элемент %2: %3").arg(mnemonic).arg(f.row).arg(value);
    const QString label = rowLabel(f.type, f.slot, f.row);
    if (!label.isEmpty())
        return QStringLiteral("%1 %2, «%3»: %4").arg(mnemonic).arg(f.slot + 1).arg(label, value);
    return QStringLiteral("%1 %2, строка %3: %4").arg(mnemonic).arg(f.slot + 1).arg(f.row).arg(value);
}

} // namespace

const std::array<ParameterTables::Section, 33> &ParameterTables::parameterLayout() {
    static const std::array<Section, 33> layout = {{
        {BlockType::A_I, 8, 44}, {BlockType::A_O, 8, 8},   {BlockType::D_I, 8, 24}, {BlockType::D_O, 8, 16}, {BlockType::RS4, 1, 4},  {BlockType::MUL, 8, 8},   {BlockType::SUM, 8, 14},
        {BlockType::DIV, 8, 8},  {BlockType::SQR, 8, 8},   {BlockType::ABS, 8, 4},  {BlockType::AND, 8, 5},  {BlockType::OR_, 8, 5},  {BlockType::XOR, 8, 4},   {BlockType::TRI, 8, 4},
        {BlockType::REG, 8, 3},  {BlockType::S_P, 12, 8},  {BlockType::PID, 8, 19}, {BlockType::MUX, 8, 9},  {BlockType::PRO, 8, 136}, {BlockType::PAN, 8, 14}, {BlockType::RTC, 8, 8},
        {BlockType::MIN, 8, 11}, {BlockType::LIM, 8, 5},   {BlockType::CMP, 8, 6},  {BlockType::TIM, 8, 13}, {BlockType::COU, 8, 8},  {BlockType::OSC, 8, 29},  {BlockType::GRA, 7, 33},
        {BlockType::JUR, 1, 51}, {BlockType::SCA, 1, 200}, {BlockType::LOG, 8, 15}, {BlockType::MOT, 8, 8},  {BlockType::UNI, 8, 17},
    }};
    return layout;
}

std::vector<ParameterFault> ParameterTables::checkParameters(const ParameterStore &store) {
    std::vector<ParameterFault> faults;
    walkParameters(store, nullptr, &faults);
    return faults;
}

ParameterTableBuild ParameterTables::parameters(const ParameterStore &store) {
    ParameterTableBuild build;
    build.data.reserve(kParameterBytes);
    walkParameters(store, &build.data, &build.faults);
    if (!build.ok()) build.data.clear();
    return build;
}

std::vector<ParameterFault> ParameterTables::checkSetpoints(const ParameterStore &store, int slot) {
    std::vector<ParameterFault> faults;
    walkSetpoints(store, slot, nullptr, &faults);
    return faults;
}

ParameterTableBuild ParameterTables::setpoints(const ParameterStore &store, int slot) {
    ParameterTableBuild build;
    walkSetpoints(store, slot, &build.data, &build.faults);
    if (!build.ok()) build.data.clear();
    return build;
}

QString ParameterTables::faultMessage(const std::vector<ParameterFault> &faults) {
    QString text = QStringLiteral("Ошибка параметра");
    for (const auto &f : faults) text += QLatin1Char('\n') + describe(f);
    return text;
}

QString ParameterTables::faultCaption() { return QStringLiteral("Ошибка"); }

} // namespace z5
