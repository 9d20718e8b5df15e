#include "model/ParameterCatalogueData.h"
#include "model/BlockCatalogue.h"

namespace z5::catalogue_data {
namespace {

using K = FieldKind;
using L = ChoiceList;
using R = RowRole;
using S = Selector;
using T = StoreTable;
constexpr int kSlot = kInstanceSlot;

// Console rows of every type with visible rows: type, row, label, field kind, highest
// item code, item list, role, the selector it picks, and where its value lives
// {table, slot, base, selector, multiplier, selector, multiplier}.
// ABS, XOR, TRI and INV have no visible row.
const RowSpec kRows[] = {
    // A_I
    {A_I, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {A_I, 1, u"№ входа", K::Choice, 3, L::Numbers, R::Selects, S::Channel, kNowhere},
    {A_I, 2, u"Тип входа", K::Choice, 14, L::SensorTypes, R::Value, S::None, {T::Parametr, kSlot, 0, S::Channel, 1}},
    {A_I, 3, u"Шкала min", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4, S::Channel, 1}},
    {A_I, 4, u"Шкала max", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 8, S::Channel, 1}},
    {A_I, 5, u"Смещение", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 12, S::Channel, 1}},
    {A_I, 6, u"Сигнал min", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 16, S::Channel, 1}},
    {A_I, 7, u"Сигнал max", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 20, S::Channel, 1}},
    {A_I, 8, u"Фильтр", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 24, S::Channel, 1}},
    // A_O
    {A_O, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {A_O, 1, u"№ выхода", K::Choice, 3, L::Numbers, R::Selects, S::Channel, kNowhere},
    {A_O, 2, u"Тип выхода", K::Choice, 4, L::OutputTypes, R::Value, S::None, {T::Parametr, kSlot, 0, S::Channel, 1}},
    {A_O, 3, u"Значение", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4, S::Channel, 1}},
    // D_I
    {D_I, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {D_I, 1, u"№ входа", K::Choice, 7, L::Numbers, R::Selects, S::Channel, kNowhere},
    {D_I, 2, u"Уровень", K::Choice, 3, L::InputLevels, R::Value, S::None, {T::Parametr, kSlot, 0, S::Channel, 1}},
    {D_I, 3, u"Фильтр", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 8, S::Channel, 1}},
    // D_O
    {D_O, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {D_O, 1, u"№ выхода", K::Choice, 7, L::Numbers, R::Selects, S::Channel, kNowhere},
    {D_O, 2, u"Тип", K::Choice, 2, L::OutputKinds, R::Value, S::None, {T::Parametr, kSlot, 0, S::Channel, 1}},
    // RS4
    {RS4, 0, u"№ в сети", K::Choice, 31, L::Numbers, R::NotStored, S::None, kNowhere},
    {RS4, 1, u"Скорость", K::Choice, 4, L::BaudRates, R::NotStored, S::None, kNowhere},
    {RS4, 2, u"Тип", K::Choice, 1, L::LinkRoles, R::NotStored, S::None, kNowhere},
    // MUL
    {MUL, 0, u"Усиление 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {MUL, 1, u"Усиление 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {MUL, 2, u"Усиление 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {MUL, 3, u"Усиление 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    // SUM
    {SUM, 0, u"Смещение", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 8}},
    {SUM, 1, u"k*вход 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {SUM, 2, u"k*вход 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {SUM, 3, u"k*вход 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {SUM, 4, u"k*вход 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    {SUM, 5, u"k*вход 5", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4}},
    {SUM, 6, u"k*вход 6", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 5}},
    {SUM, 7, u"k*вход 7", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 6}},
    {SUM, 8, u"k*вход 8", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 7}},
    {SUM, 9, u"Тип", K::Choice, 2, L::SumKinds, R::Value, S::None, {T::Parametr, kSlot, 13}},
    // DIV
    {DIV, 0, u"Усиление 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {DIV, 1, u"Усиление 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {DIV, 2, u"Усиление 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {DIV, 3, u"Усиление 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    // SQR
    {SQR, 0, u"Усиление 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {SQR, 1, u"Усиление 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {SQR, 2, u"Усиление 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {SQR, 3, u"Усиление 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    // AND
    {AND, 0, u"Тип 2-4-8", K::Choice, 2, L::AndKinds, R::Value, S::None, {T::Parametr, kSlot, 4}},
    // OR_
    {OR_, 0, u"Тип 2-4-8", K::Choice, 2, L::OrKinds, R::Value, S::None, {T::Parametr, kSlot, 4}},
    // REG
    {REG, 0, u"Тип регистра", K::Choice, 1, L::RegisterKinds, R::Value, S::None, {T::Parametr, kSlot, 0}},
    // S_P
    {S_P, 0, u"Имя задатчика 1", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 0}},
    {S_P, 1, u"Задатчик 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {S_P, 2, u"Имя задатчика 2", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 1}},
    {S_P, 3, u"Задатчик 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {S_P, 4, u"Имя задатчика 3", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 2}},
    {S_P, 5, u"Задатчик 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {S_P, 6, u"Имя задатчика 4", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 3}},
    {S_P, 7, u"Задатчик 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    {S_P, 8, u"Имя задатчика 5", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 4}},
    {S_P, 9, u"Задатчик 5", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4}},
    {S_P, 10, u"Имя задатчика 6", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 5}},
    {S_P, 11, u"Задатчик 6", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 5}},
    {S_P, 12, u"Имя задатчика 7", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 6}},
    {S_P, 13, u"Задатчик 7", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 6}},
    {S_P, 14, u"Имя задатчика 8", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 7}},
    {S_P, 15, u"Задатчик 8", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 7}},
    {S_P, 16, u"Имя блока", K::Text, 0, L::None, R::Value, S::None, {T::NAME_S_P, kSlot, 8}},
    // PID
    {PID, 0, u"Тип", K::Choice, 2, L::PidKinds, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {PID, 1, u"Период", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4}},
    {PID, 2, u"Ограничение л", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 11}},
    {PID, 3, u"КП 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {PID, 4, u"ТИ 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {PID, 5, u"ТД 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    {PID, 6, u"КП 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 12}},
    {PID, 7, u"ТИ 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 13}},
    {PID, 8, u"ТД 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 14}},
    // MUX
    {MUX, 0, u"Тип коммутатора", K::Choice, 4, L::SwitchKinds, R::Value, S::None, {T::Parametr, kSlot, 0}},
    // PRO
    {PRO, 0, u"Программа\\Шаг", K::Choice, 31, L::ProgramSteps, R::Selects, S::Step, {T::Parametr, kSlot, 0}},
    {PRO, 1, u"Набор", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4, S::Step, 1}},
    {PRO, 2, u"Выдержка", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 36, S::Step, 1}},
    {PRO, 3, u"Задание", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 68, S::Step, 1}},
    {PRO, 4, u"Тип", K::Choice, 3, L::StepKinds, R::Value, S::None, {T::Parametr, kSlot, 100, S::Step, 1}},
    // PAN
    {PAN, 0, u"Тип панели", K::Choice, 4, L::PanelKinds, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {PAN, 1, u"Имя панели", K::Text, 0, L::None, R::Value, S::None, {T::NAME_PAN, kSlot, 0}},
    {PAN, 2, u"Имя канала 1", K::Text, 0, L::None, R::Value, S::None, {T::NAME_PAN, kSlot, 1}},
    {PAN, 3, u"Имя канала 2", K::Text, 0, L::None, R::Value, S::None, {T::NAME_PAN, kSlot, 2}},
    {PAN, 4, u"Имя канала 3", K::Text, 0, L::None, R::Value, S::None, {T::NAME_PAN, kSlot, 3}},
    {PAN, 5, u"Имя канала 4", K::Text, 0, L::None, R::Value, S::None, {T::NAME_PAN, kSlot, 4}},
    {PAN, 6, u"Задание 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4}},
    {PAN, 7, u"Задание 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 6}},
    // RTC
    {RTC, 0, u"Вкл. час", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {RTC, 1, u"Вкл. мин", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {RTC, 2, u"Вкл. сек", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {RTC, 3, u"Выкл. час", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    {RTC, 4, u"Выкл. мин", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4}},
    {RTC, 5, u"Выкл. сек", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 5}},
    // MIN
    {MIN, 0, u"Минимум/Максимум", K::Choice, 1, L::MinModes, R::Value, S::None, {T::Parametr, kSlot, 0}},
    // LIM
    {LIM, 0, u"Уровень min", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {LIM, 1, u"Уровень max", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    // CMP
    {CMP, 0, u"Задание", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {CMP, 1, u"Зона", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {CMP, 2, u"Гистерезис", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    // TIM
    {TIM, 0, u"Тип", K::Choice, 3, L::TimeUnits, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {TIM, 1, u"Задание 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {TIM, 2, u"Задание 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4}},
    {TIM, 3, u"Задание 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 7}},
    {TIM, 4, u"Задание 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 10}},
    // COU
    {COU, 0, u"Задание 0", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {COU, 1, u"Минимум", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {COU, 2, u"Максимум", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    // OSC
    {OSC, 0, u"Тип", K::Choice, 3, L::GeneratorKinds, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {OSC, 1, u"Импульс 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {OSC, 2, u"Пауза 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {OSC, 3, u"Импульс ", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 8}},
    {OSC, 4, u"Пауза 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 9}},
    {OSC, 5, u"Импульс 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 15}},
    {OSC, 6, u"Пауза 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 16}},
    {OSC, 7, u"Импульс 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 22}},
    {OSC, 8, u"Пауза 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 23}},
    // GRA
    {GRA, 0, u"№ канала", K::Choice, 31, L::Numbers, R::Selects, S::Channel, {T::Parametr, 1, 0}},
    {GRA, 1, u"Опрос", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, 0, 0}},
    {GRA, 2, u"Имя графика", K::Text, 0, L::None, R::Value, S::None, {T::NAME_GRA, 0, 33}},
    {GRA, 3, u"Шкала min ", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, 1, 1, S::Channel, 1}},
    {GRA, 4, u"Шкала max", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, 2, 1, S::Channel, 1}},
    {GRA, 5, u"Имя канала", K::Text, 0, L::None, R::Value, S::None, {T::NAME_GRA, 0, 1, S::Channel, 1}},
    // JUR
    {JUR, 0, u"Событие", K::Choice, 31, L::Numbers, R::Selects, S::Event, kNowhere},
    {JUR, 1, u"Имя", K::Text, 0, L::None, R::Value, S::None, {T::NAME_JUR, 0, 0, S::Event, 1}},
    {JUR, 2, u"Тип события", K::Choice, 7, L::AlarmClasses, R::Value, S::None, {T::Parametr, 0, 10, S::Event, 1}},
    {JUR, 3, u"Время", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, 0, 50}},
    {JUR, 4, u"Время задержки", K::Number, 0, L::None, R::Value, S::None, {T::BYTE_JUR, 0, 10, S::Event, 1}},
    // SCA
    {SCA, 0, u"№ страницы", K::Choice, 7, L::Pages, R::Selects, S::Page, kNowhere},
    {SCA, 1, u"№ кнопки 1-24", K::Choice, 23, L::Keys, R::Selects, S::Key, kNowhere},
    {SCA, 2, u"№ блока 1-99", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, 0, 8, S::Page, 24, S::Key, 1}},
    // LOG
    {LOG, 0, u"№ канала", K::Choice, 3, L::Numbers, R::Selects, S::Channel, kNowhere},
    {LOG, 1, u"Тип канала", K::Choice, 5, L::ChannelKinds, R::Value, S::None, {T::Parametr, kSlot, 0, S::Channel, 1}},
    {LOG, 2, u"Параметр", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3, S::Channel, 1}},
    {LOG, 3, u"Задержка", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 6, S::Channel, 1}},
    // MOT
    {MOT, 0, u"№ в сети", K::Number, 0, L::None, R::NotStored, S::None, kNowhere},
    {MOT, 1, u"Цикл", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {MOT, 2, u"Время цикла", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    {MOT, 3, u"Тип", K::Choice, 1, L::DriveModels, R::Value, S::None, {T::Parametr, kSlot, 7}},
    // UNI
    {UNI, 0, u"Тип", K::Choice, 3, L::UniversalKinds, R::Value, S::None, {T::Parametr, kSlot, 0}},
    {UNI, 1, u"Параметр 1", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 1}},
    {UNI, 2, u"Параметр 2", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 2}},
    {UNI, 3, u"Параметр 3", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 3}},
    {UNI, 4, u"Параметр 4", K::Number, 0, L::None, R::Value, S::None, {T::Parametr, kSlot, 4}},
};

} // namespace

const RowSpec *rows(std::size_t *count) {
    *count = sizeof(kRows) / sizeof(kRows[0]);
    return kRows;
}

} // namespace z5::catalogue_data
