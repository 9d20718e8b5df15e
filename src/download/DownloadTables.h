#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

// One table's data block as it follows its header (tables 0 and 1 with their
// leading "0"), or why it cannot go out as it stands.
struct TableBuild {
    QByteArray data;
    QString problem;   // the message to show; empty when the data can be sent
    QString caption;   // the message box caption for the problem
    bool ok() const { return problem.isEmpty(); }
};

// Where the writes get their tables. The windows and the command line build them
// from the project, the parameter store and the screen; tests give their own.
class DownloadTables {
public:
    virtual ~DownloadTables() = default;

    // Every value the configuration download (tables 0 to 11) would carry that the
    // wire form cannot, as one message; ok when all fit.
    virtual TableBuild checkDownload() const = 0;
    // Table 0..11 of the configuration download.
    virtual TableBuild table(int n) const = 0;

    // The same for the setpoint table (12) of the block in column `block`.
    virtual TableBuild checkSetpoints(int block) const = 0;
    virtual TableBuild setpoints(int block) const = 0;
};

} // namespace z5
