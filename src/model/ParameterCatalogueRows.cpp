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
const CatalogueRow kRows[] = {
    // A_I
    {BlockType::A_I, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {BlockType::A_I, 1, u"№ входа", K::Choice, 3, L::Numbers, R::Selects, S::Channel, kNowhere},
    {BlockType::A_I, 2, u"Тип входа", K::Choice, 14, L::SensorTypes, R::Value, S::None, {T::Numbers, kSlot, 0, S::Channel, 1}},
    {BlockType::A_I, 3, u"Шкала min", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4, S::Channel, 1}},
    {BlockType::A_I, 4, u"Шкала max", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 8, S::Channel, 1}},
    {BlockType::A_I, 5, u"Смещение", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 12, S::Channel, 1}},
    {BlockType::A_I, 6, u"Сигнал min", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 16, S::Channel, 1}},
    {BlockType::A_I, 7, u"Сигнал max", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 20, S::Channel, 1}},
    {BlockType::A_I, 8, u"Фильтр", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 24, S::Channel, 1}},
    // A_O
    {BlockType::A_O, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {BlockType::A_O, 1, u"№ выхода", K::Choice, 3, L::Numbers, R::Selects, S::Channel, kNowhere},
    {BlockType::A_O, 2, u"Тип выхода", K::Choice, 4, L::OutputTypes, R::Value, S::None, {T::Numbers, kSlot, 0, S::Channel, 1}},
    {BlockType::A_O, 3, u"Значение", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4, S::Channel, 1}},
    // D_I
    {BlockType::D_I, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {BlockType::D_I, 1, u"№ входа", K::Choice, 7, L::Numbers, R::Selects, S::Channel, kNowhere},
    {BlockType::D_I, 2, u"Уровень", K::Choice, 3, L::InputLevels, R::Value, S::None, {T::Numbers, kSlot, 0, S::Channel, 1}},
    {BlockType::D_I, 3, u"Фильтр", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 8, S::Channel, 1}},
    // D_O
    {BlockType::D_O, 0, u"№ в сети", K::Choice, 7, L::Numbers, R::Instance, S::None, kNowhere},
    {BlockType::D_O, 1, u"№ выхода", K::Choice, 7, L::Numbers, R::Selects, S::Channel, kNowhere},
    {BlockType::D_O, 2, u"Тип", K::Choice, 2, L::OutputKinds, R::Value, S::None, {T::Numbers, kSlot, 0, S::Channel, 1}},
    // RS4
    {BlockType::RS4, 0, u"№ в сети", K::Choice, 31, L::Numbers, R::NotStored, S::None, kNowhere},
    {BlockType::RS4, 1, u"Скорость", K::Choice, 4, L::BaudRates, R::NotStored, S::None, kNowhere},
    {BlockType::RS4, 2, u"Тип", K::Choice, 1, L::LinkRoles, R::NotStored, S::None, kNowhere},
    // MUL
    {BlockType::MUL, 0, u"Усиление 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::MUL, 1, u"Усиление 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::MUL, 2, u"Усиление 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::MUL, 3, u"Усиление 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    // SUM
    {BlockType::SUM, 0, u"Смещение", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 8}},
    {BlockType::SUM, 1, u"k*вход 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::SUM, 2, u"k*вход 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::SUM, 3, u"k*вход 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::SUM, 4, u"k*вход 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    {BlockType::SUM, 5, u"k*вход 5", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4}},
    {BlockType::SUM, 6, u"k*вход 6", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 5}},
    {BlockType::SUM, 7, u"k*вход 7", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 6}},
    {BlockType::SUM, 8, u"k*вход 8", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 7}},
    {BlockType::SUM, 9, u"Тип", K::Choice, 2, L::SumKinds, R::Value, S::None, {T::Numbers, kSlot, 13}},
    // DIV
    {BlockType::DIV, 0, u"Усиление 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::DIV, 1, u"Усиление 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::DIV, 2, u"Усиление 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::DIV, 3, u"Усиление 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    // SQR
    {BlockType::SQR, 0, u"Усиление 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::SQR, 1, u"Усиление 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::SQR, 2, u"Усиление 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::SQR, 3, u"Усиление 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    // AND
    {BlockType::AND, 0, u"Тип 2-4-8", K::Choice, 2, L::AndKinds, R::Value, S::None, {T::Numbers, kSlot, 4}},
    // OR_
    {BlockType::OR_, 0, u"Тип 2-4-8", K::Choice, 2, L::OrKinds, R::Value, S::None, {T::Numbers, kSlot, 4}},
    // REG
    {BlockType::REG, 0, u"Тип регистра", K::Choice, 1, L::RegisterKinds, R::Value, S::None, {T::Numbers, kSlot, 0}},
    // S_P
    {BlockType::S_P, 0, u"Имя задатчика 1", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 0}},
    {BlockType::S_P, 1, u"Задатчик 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::S_P, 2, u"Имя задатчика 2", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 1}},
    {BlockType::S_P, 3, u"Задатчик 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::S_P, 4, u"Имя задатчика 3", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 2}},
    {BlockType::S_P, 5, u"Задатчик 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::S_P, 6, u"Имя задатчика 4", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 3}},
    {BlockType::S_P, 7, u"Задатчик 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    {BlockType::S_P, 8, u"Имя задатчика 5", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 4}},
    {BlockType::S_P, 9, u"Задатчик 5", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4}},
    {BlockType::S_P, 10, u"Имя задатчика 6", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 5}},
    {BlockType::S_P, 11, u"Задатчик 6", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 5}},
    {BlockType::S_P, 12, u"Имя задатчика 7", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 6}},
    {BlockType::S_P, 13, u"Задатчик 7", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 6}},
    {BlockType::S_P, 14, u"Имя задатчика 8", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 7}},
    {BlockType::S_P, 15, u"Задатчик 8", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 7}},
    {BlockType::S_P, 16, u"Имя блока", K::Text, 0, L::None, R::Value, S::None, {T::SetpointNames, kSlot, 8}},
    // PID
    {BlockType::PID, 0, u"Тип", K::Choice, 2, L::PidKinds, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::PID, 1, u"Период", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4}},
    {BlockType::PID, 2, u"Ограничение л", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 11}},
    {BlockType::PID, 3, u"КП 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::PID, 4, u"ТИ 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::PID, 5, u"ТД 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    {BlockType::PID, 6, u"КП 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 12}},
    {BlockType::PID, 7, u"ТИ 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 13}},
    {BlockType::PID, 8, u"ТД 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 14}},
    // MUX
    {BlockType::MUX, 0, u"Тип коммутатора", K::Choice, 4, L::SwitchKinds, R::Value, S::None, {T::Numbers, kSlot, 0}},
    // PRO
    {BlockType::PRO, 0, u"Программа\\Шаг", K::Choice, 31, L::ProgramSteps, R::Selects, S::Step, {T::Numbers, kSlot, 0}},
    {BlockType::PRO, 1, u"Набор", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4, S::Step, 1}},
    {BlockType::PRO, 2, u"Выдержка", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 36, S::Step, 1}},
    {BlockType::PRO, 3, u"Задание", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 68, S::Step, 1}},
    {BlockType::PRO, 4, u"Тип", K::Choice, 3, L::StepKinds, R::Value, S::None, {T::Numbers, kSlot, 100, S::Step, 1}},
    // PAN
    {BlockType::PAN, 0, u"Тип панели", K::Choice, 4, L::PanelKinds, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::PAN, 1, u"Имя панели", K::Text, 0, L::None, R::Value, S::None, {T::PanelTexts, kSlot, 0}},
    {BlockType::PAN, 2, u"Имя канала 1", K::Text, 0, L::None, R::Value, S::None, {T::PanelTexts, kSlot, 1}},
    {BlockType::PAN, 3, u"Имя канала 2", K::Text, 0, L::None, R::Value, S::None, {T::PanelTexts, kSlot, 2}},
    {BlockType::PAN, 4, u"Имя канала 3", K::Text, 0, L::None, R::Value, S::None, {T::PanelTexts, kSlot, 3}},
    {BlockType::PAN, 5, u"Имя канала 4", K::Text, 0, L::None, R::Value, S::None, {T::PanelTexts, kSlot, 4}},
    {BlockType::PAN, 6, u"Задание 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4}},
    {BlockType::PAN, 7, u"Задание 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 6}},
    // RTC
    {BlockType::RTC, 0, u"Вкл. час", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::RTC, 1, u"Вкл. мин", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::RTC, 2, u"Вкл. сек", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::RTC, 3, u"Выкл. час", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    {BlockType::RTC, 4, u"Выкл. мин", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4}},
    {BlockType::RTC, 5, u"Выкл. сек", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 5}},
    // MIN
    {BlockType::MIN, 0, u"Минимум/Максимум", K::Choice, 1, L::MinModes, R::Value, S::None, {T::Numbers, kSlot, 0}},
    // LIM
    {BlockType::LIM, 0, u"Уровень min", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::LIM, 1, u"Уровень max", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    // CMP
    {BlockType::CMP, 0, u"Задание", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::CMP, 1, u"Зона", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::CMP, 2, u"Гистерезис", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    // TIM
    {BlockType::TIM, 0, u"Тип", K::Choice, 3, L::TimeUnits, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::TIM, 1, u"Задание 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::TIM, 2, u"Задание 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4}},
    {BlockType::TIM, 3, u"Задание 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 7}},
    {BlockType::TIM, 4, u"Задание 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 10}},
    // COU
    {BlockType::COU, 0, u"Задание 0", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::COU, 1, u"Минимум", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::COU, 2, u"Максимум", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    // OSC
    {BlockType::OSC, 0, u"Тип", K::Choice, 3, L::GeneratorKinds, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::OSC, 1, u"Импульс 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::OSC, 2, u"Пауза 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::OSC, 3, u"Импульс ", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 8}},
    {BlockType::OSC, 4, u"Пауза 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 9}},
    {BlockType::OSC, 5, u"Импульс 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 15}},
    {BlockType::OSC, 6, u"Пауза 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 16}},
    {BlockType::OSC, 7, u"Импульс 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 22}},
    {BlockType::OSC, 8, u"Пауза 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 23}},
    // GRA
    {BlockType::GRA, 0, u"№ канала", K::Choice, 31, L::Numbers, R::Selects, S::Channel, {T::Numbers, 1, 0}},
    {BlockType::GRA, 1, u"Опрос", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, 0, 0}},
    {BlockType::GRA, 2, u"Имя графика", K::Text, 0, L::None, R::Value, S::None, {T::TrendTexts, 0, 33}},
    {BlockType::GRA, 3, u"Шкала min ", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, 1, 1, S::Channel, 1}},
    {BlockType::GRA, 4, u"Шкала max", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, 2, 1, S::Channel, 1}},
    {BlockType::GRA, 5, u"Имя канала", K::Text, 0, L::None, R::Value, S::None, {T::TrendTexts, 0, 1, S::Channel, 1}},
    // JUR
    {BlockType::JUR, 0, u"Событие", K::Choice, 31, L::Numbers, R::Selects, S::Event, kNowhere},
    {BlockType::JUR, 1, u"Имя", K::Text, 0, L::None, R::Value, S::None, {T::JournalTexts, 0, 0, S::Event, 1}},
    {BlockType::JUR, 2, u"Тип события", K::Choice, 7, L::AlarmClasses, R::Value, S::None, {T::Numbers, 0, 10, S::Event, 1}},
    {BlockType::JUR, 3, u"Время", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, 0, 50}},
    {BlockType::JUR, 4, u"Время задержки", K::Number, 0, L::None, R::Value, S::None, {T::JournalDelays, 0, 10, S::Event, 1}},
    // SCA
    {BlockType::SCA, 0, u"№ страницы", K::Choice, 7, L::Pages, R::Selects, S::Page, kNowhere},
    {BlockType::SCA, 1, u"№ кнопки 1-24", K::Choice, 23, L::Keys, R::Selects, S::Key, kNowhere},
    {BlockType::SCA, 2, u"№ блока 1-99", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, 0, 8, S::Page, 24, S::Key, 1}},
    // LOG. The rows of a channel are spaced by three (type c, parameter c + 3, delay
    // c + 6), so only channels 1..3 have rows of their own: a fourth would write its
    // type into channel 1's parameter and its parameter into channel 1's delay.
    {BlockType::LOG, 0, u"№ канала", K::Choice, 2, L::Numbers, R::Selects, S::Channel, kNowhere},
    {BlockType::LOG, 1, u"Тип канала", K::Choice, 5, L::ChannelKinds, R::Value, S::None, {T::Numbers, kSlot, 0, S::Channel, 1}},
    {BlockType::LOG, 2, u"Параметр", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3, S::Channel, 1}},
    {BlockType::LOG, 3, u"Задержка", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 6, S::Channel, 1}},
    // MOT
    {BlockType::MOT, 0, u"№ в сети", K::Number, 0, L::None, R::NotStored, S::None, kNowhere},
    {BlockType::MOT, 1, u"Цикл", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::MOT, 2, u"Время цикла", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    {BlockType::MOT, 3, u"Тип", K::Choice, 1, L::DriveModels, R::Value, S::None, {T::Numbers, kSlot, 7}},
    // UNI
    {BlockType::UNI, 0, u"Тип", K::Choice, 3, L::UniversalKinds, R::Value, S::None, {T::Numbers, kSlot, 0}},
    {BlockType::UNI, 1, u"Параметр 1", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 1}},
    {BlockType::UNI, 2, u"Параметр 2", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 2}},
    {BlockType::UNI, 3, u"Параметр 3", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 3}},
    {BlockType::UNI, 4, u"Параметр 4", K::Number, 0, L::None, R::Value, S::None, {T::Numbers, kSlot, 4}},
};

} // namespace

const CatalogueRow *rows(std::size_t *count) {
    *count = sizeof(kRows) / sizeof(kRows[0]);
    return kRows;
}

} // namespace z5::catalogue_data
