#pragma once
#include "download/WriteStart.h"
#include "link/WireSizes.h"
#include "link/WriteSequence.h"

namespace z5 {

class DownloadChain;
class DownloadTables;

// The setpoint write: the table 12 header with the block's column in byte 6,
// then 200 ms later the eight setpoints of that setpoint programmer, built as
// they go out. No reply is read, and the port stays open.
class SetpointWrite {
public:
    static constexpr int kIntervalMs = 200;

    // Shares the download's line and tables.
    explicit SetpointWrite(DownloadChain &chain);

    // "&Записать задатчики в Z5" for the block in column `block` (0..99).
    // Refused before anything is queued when the values do not fit or the block
    // is no setpoint programmer. Setpoints that can no longer be built when
    // their data is due end the write at once (Cancelled, the step refused).
    WriteStart writeSetpoints(int block);
    static WriteSequence sequence(int block, const DownloadTables &tables);

private:
    DownloadChain &chain_;
};

} // namespace z5
