#pragma once
#include "download/DownloadTables.h"

namespace z5 {

class Project;
class ParameterStore;
class ScreenModel;

// The tables of the writes, built from the project, the parameter store and the
// operator screen as they stand when each table is due.
class ProjectDownloadTables : public DownloadTables {
public:
    // Without a screen the alarm texts (table 11) go out blank.
    ProjectDownloadTables(const Project &project, const ParameterStore &store, const ScreenModel *screen = nullptr);

    TableBuild checkDownload() const override;
    TableBuild table(int n) const override;
    TableBuild checkSetpoints(int block) const override;
    TableBuild setpoints(int block) const override;

    // Instance slot of the setpoint programmer in column `block`, or -1 when that
    // column holds no setpoint programmer.
    int setpointSlot(int block) const;

private:
    TableBuild notSetpointProgrammer(int block) const;

    const Project &project_;
    const ParameterStore &store_;
    const ScreenModel *screen_;
};

} // namespace z5
