#pragma once
#include <QStringList>
#include <cstdint>

namespace z5 {

// The named item lists of the console's choice rows. Numbers means the decimal
// texts "1", "2", ... rather than a named list.
enum class ChoiceList : std::uint8_t {
    None, Numbers, SensorTypes, OutputTypes, InputLevels, OutputKinds, BaudRates, LinkRoles, SumKinds,
    AndKinds, OrKinds, RegisterKinds, PidKinds, SwitchKinds, ProgramSteps, StepKinds, PanelKinds, MinModes,
    TimeUnits, GeneratorKinds, AlarmClasses, Pages, Keys, ChannelKinds, DriveModels, UniversalKinds
};

class ParameterChoiceLists {
public:
    static constexpr int kNamedLists = 24;
    // Every item of a named list in code order; empty for None and Numbers.
    static QStringList items(ChoiceList list);
    // The items a choice row with highest code maxCode holds: item i of the named
    // list, or for Numbers (and any code past a list's end) the decimal text of i + 1.
    // maxCode 0 gives no items.
    static QStringList rowItems(ChoiceList list, int maxCode);
};

} // namespace z5
