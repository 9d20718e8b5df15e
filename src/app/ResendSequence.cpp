#include "app/ResendSequence.h"

namespace z5 {

WriteSequence resendSequence(const RecordedWrite &write) {
    WriteSequence sequence;
    std::size_t port = 0;
    // Steps of one millisecond go out in the order they are added: the port's
    // steps stand where they stood among the pieces.
    const auto portStepsUpTo = [&](std::size_t pieces) {
        for (; port < write.portSteps.size() && std::size_t(write.portSteps[port].afterPieces) <= pieces; ++port) {
            const RecordedWrite::PortStep &step = write.portSteps[port];
            const int atMs = int(step.atMs);
            if (step.what == RecordedWrite::PortStep::What::Close)
                sequence.closePort(atMs);
            else
                sequence.reopenPort(atMs);
        }
    };
    for (std::size_t i = 0; i < write.pieces.size(); ++i) {
        portStepsUpTo(i);
        const RecordedWrite::Piece &piece = write.pieces[i];
        if (piece.what == RecordedWrite::Piece::What::Header)
            sequence.recordedHeader(int(piece.atMs), piece.tag, piece.bytes);
        else
            sequence.recordedData(int(piece.atMs), piece.tag, piece.bytes);
    }
    portStepsUpTo(write.pieces.size());
    return sequence;
}

} // namespace z5
