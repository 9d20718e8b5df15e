#include "model/ParameterChoiceLists.h"

namespace z5 {

QStringList ParameterChoiceLists::items(ChoiceList list) {
    switch (list) {
    case ChoiceList::None:
    case ChoiceList::Numbers:
        return {};
    case ChoiceList::ProgramSteps: {
        // Program-major: step s = 8 * (P - 1) + (S - 1).
        QStringList steps;
        for (int p = 1; p <= 4; ++p)
            for (int s = 1; s <= 8; ++s) steps << QStringLiteral("Программа %1 Шаг %2").arg(p).arg(s);
        return steps;
    }
    case ChoiceList::Keys: {
        QStringList keys;
        for (int k = 1; k <= 24; ++k) keys << QStringLiteral("Кн. %1").arg(k);
        return keys;
    }
    case ChoiceList::SensorTypes:
        return {QStringLiteral("Выкл."), QStringLiteral("50П"), QStringLiteral("50М"), QStringLiteral("100П"),
                QStringLiteral("100М"), QStringLiteral("гр.21"), QStringLiteral("гр.23"),
                QStringLiteral("Pt100"), QStringLiteral("ТХК"), QStringLiteral("ТХА"), QStringLiteral("ТПП"),
                QStringLiteral("ТЖК"), QStringLiteral("0-5 мА"), QStringLiteral("0-20 мА"),
                QStringLiteral("4-20 мА")};
    case ChoiceList::OutputTypes:
        return {QStringLiteral("0-10 В"), QStringLiteral("0-5 мА"), QStringLiteral("0-20 мА"),
                QStringLiteral("4-20 мА"), QStringLiteral("Ручное")};
    case ChoiceList::InputLevels:
        return {QStringLiteral("<0>"), QStringLiteral("<1>"), QStringLiteral("Фронт"),
                QStringLiteral("Срез")};
    case ChoiceList::OutputKinds:
        return {QStringLiteral("Реле"), QStringLiteral("Импульс"), QStringLiteral("Универсальный")};
    case ChoiceList::BaudRates:
        return {QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                QStringLiteral("57600"), QStringLiteral("115200")};
    case ChoiceList::LinkRoles:
        return {QStringLiteral("Master"), QStringLiteral("Slave")};
    case ChoiceList::SumKinds:
        return {QStringLiteral("2 SUM"), QStringLiteral("2 sum"), QStringLiteral("8 SUM")};
    case ChoiceList::AndKinds:
        return {QStringLiteral("2 AND"), QStringLiteral("4 AND"), QStringLiteral("8 AND")};
    case ChoiceList::OrKinds:
        return {QStringLiteral("2 OR"), QStringLiteral("4 OR"), QStringLiteral("8 OR")};
    case ChoiceList::RegisterKinds:
        return {QStringLiteral("Фронт"), QStringLiteral("Уровень")};
    case ChoiceList::PidKinds:
        return {QStringLiteral("Реле"), QStringLiteral("ПИД 1"), QStringLiteral("ПИД 2")};
    case ChoiceList::SwitchKinds:
        return {QStringLiteral("MUX1-6"), QStringLiteral("MUX2-3"), QStringLiteral("DMUX1-8"),
                QStringLiteral("DMUX2-4"), QStringLiteral("-------")};
    case ChoiceList::StepKinds:
        return {QStringLiteral("Время"), QStringLiteral("Задание"), QStringLiteral("Время-Задание"),
                QStringLiteral("СТОП")};
    case ChoiceList::PanelKinds:
        return {QStringLiteral("OFF_ON"), QStringLiteral("OFF_ON2"), QStringLiteral("AUT_HND"),
                QStringLiteral("SRT-STP"), QStringLiteral("INC-DEC")};
    case ChoiceList::MinModes:
        return {QStringLiteral("min"), QStringLiteral("max")};
    case ChoiceList::TimeUnits:
        return {QStringLiteral("0.1 сек"), QStringLiteral("1 сек"), QStringLiteral("1 мин"),
                QStringLiteral("1 час")};
    case ChoiceList::GeneratorKinds:
        return {QStringLiteral("Одновибратор 4"), QStringLiteral("Мультивибратор 4"),
                QStringLiteral("Одновибратор 2"), QStringLiteral("Мультивибратор 2")};
    case ChoiceList::AlarmClasses:
        return {QStringLiteral("Архив"), QStringLiteral("Предупреждение"), QStringLiteral("Опасность 1"),
                QStringLiteral("Опасность 2"), QStringLiteral("Авария 1"), QStringLiteral("Авария 2"),
                QStringLiteral("Авария 3"), QStringLiteral("Сигнал")};
    case ChoiceList::Pages:
        return {QStringLiteral("Стр. 1"), QStringLiteral("Стр. 2"), QStringLiteral("Стр. 3"),
                QStringLiteral("Стр. 4"), QStringLiteral("Стр. 5"), QStringLiteral("Стр. 6"),
                QStringLiteral("Стр. 7"), QStringLiteral("Стр. 8")};
    case ChoiceList::ChannelKinds:
        return {QStringLiteral("SP>=IN"), QStringLiteral("SP<IN"), QStringLiteral("+1"),
                QStringLiteral("Timer"), QStringLiteral("STOP"), QString()};
    case ChoiceList::DriveModels:
        return {QStringLiteral("ATV312"), QStringLiteral("ED430")};
    case ChoiceList::UniversalKinds:
        return {QStringLiteral("Сортировка"), QStringLiteral("Шкала"), QStringLiteral("Контроллер"),
                QStringLiteral("Влажность")};
    }
    return {};
}

QStringList ParameterChoiceLists::rowItems(ChoiceList list, int maxCode) {
    QStringList out;
    if (maxCode <= 0) return out;
    const QStringList named = items(list);
    for (int i = 0; i <= maxCode; ++i)
        out << (i < named.size() ? named[i] : QString::number(i + 1));
    return out;
}

} // namespace z5
