#include "download/ProjectDownloadTables.h"
#include "download/NameTables.h"
#include "download/ParameterTables.h"
#include "download/ProjectTables.h"
#include "model/BlockCatalogue.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "screen/ScreenModel.h"

namespace z5 {
namespace {

TableBuild fromParameterBuild(const ParameterTableBuild &build) {
    if (build.ok()) return {build.data, {}, {}};
    return {{}, ParameterTables::faultMessage(build.faults), ParameterTables::faultCaption()};
}

TableBuild fromFaults(const std::vector<ParameterFault> &faults) {
    if (faults.empty()) return {};
    return {{}, ParameterTables::faultMessage(faults), ParameterTables::faultCaption()};
}

} // namespace

ProjectDownloadTables::ProjectDownloadTables(const Project &project, const ParameterStore &store,
                                             const ScreenModel *screen)
    : project_(project), store_(store), screen_(screen) {}

TableBuild ProjectDownloadTables::checkDownload() const {
    // Tables 0 to 9 and 11 hold bytes and texts that always fit; only the
    // parameter values can be beyond the wire form.
    return fromFaults(ParameterTables::checkParameters(store_));
}

TableBuild ProjectDownloadTables::table(int n) const {
    const TableBuild notInDownload{{}, QStringLiteral("table %1 is not part of the download").arg(n),
                                   QStringLiteral("Ошибка")};
    if (n < 0 || n >= wire::kTableCount) return notInDownload;
    switch (const Table table = Table(n)) {
    case Table::Blocks:
    case Table::Links:
    case Table::TrendLinks:
    case Table::JournalLinks:
    case Table::ScreenLinks: return {ProjectTables::table(table, project_), {}, {}};
    case Table::SetpointNames: return {NameTables::setpointNames(store_), {}, {}};
    case Table::PanelTexts: return {NameTables::panelTexts(store_), {}, {}};
    case Table::TrendNames: return {NameTables::trendNames(store_), {}, {}};
    case Table::JournalNames: return {NameTables::journalNames(store_), {}, {}};
    case Table::JournalBytes: return {NameTables::journalBytes(store_), {}, {}};
    case Table::Parameters: return fromParameterBuild(ParameterTables::parameters(store_));
    case Table::AlarmTexts: return {NameTables::alarmTexts(screen_ ? screen_->alarmTexts() : QStringList()), {}, {}};
    case Table::Setpoints: break;
    }
    return notInDownload;
}

int ProjectDownloadTables::setpointSlot(int block) const {
    if (block < 0 || block >= Project::kColumns || project_.blockType(block) != BlockType::S_P) return -1;
    const int instance = project_.instance(block);
    return instance >= 1 ? instance - 1 : -1;
}

TableBuild ProjectDownloadTables::notSetpointProgrammer(int block) const {
    return {{}, QStringLiteral("U%1 is not a setpoint programmer").arg(block + 1), QStringLiteral("Ошибка")};
}

TableBuild ProjectDownloadTables::checkSetpoints(int block) const {
    const int slot = setpointSlot(block);
    if (slot < 0) return notSetpointProgrammer(block);
    return fromFaults(ParameterTables::checkSetpoints(store_, slot));
}

TableBuild ProjectDownloadTables::setpoints(int block) const {
    const int slot = setpointSlot(block);
    if (slot < 0) return notSetpointProgrammer(block);
    return fromParameterBuild(ParameterTables::setpoints(store_, slot));
}

} // namespace z5
