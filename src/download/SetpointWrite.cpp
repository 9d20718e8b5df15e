#include "download/SetpointWrite.h"
#include "download/DownloadChain.h"
#include "download/DownloadTables.h"
#include "link/LineSession.h"

namespace z5 {

SetpointWrite::SetpointWrite(DownloadChain &chain) : chain_(chain) {}

WriteSequence SetpointWrite::sequence(int block, const DownloadTables &tables) {
    WriteSequence sequence;
    sequence.header(0, tableNumber(Table::Setpoints), Request::tableHeader(Table::Setpoints, block));
    const DownloadTables *source = &tables;
    sequence.data(kIntervalMs, tableNumber(Table::Setpoints), [source, block] { return tableBlock(source->setpoints(block)); },
                  WriteSequence::OnRefusal::EndWrite);
    return sequence;
}

WriteStart SetpointWrite::writeSetpoints(int block) {
    WriteStart start;
    // Nothing goes out for a block whose setpoints would not arrive as entered.
    start.refusal = chain_.tables().checkSetpoints(block);
    if (!start.refusal.ok()) return start;
    start.reply = chain_.line().enqueue(sequence(block, chain_.tables()));
    return start;
}

} // namespace z5
