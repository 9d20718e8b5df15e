#pragma once
#include "link/LineOutcome.h"
#include "link/Request.h"
#include <QByteArray>
#include <QString>

namespace z5 {

// The line as its owner lends it to the work that holds it for a while: a
// write paced by the sequencer, a read paced by its driver. The holder gets it
// when its turn comes and reaches the port through nothing else; the owner
// still completes every request, keeps what is on the line and logs every byte.
class HeldLine {
public:
    // Opens the port if it is closed (the port chosen by then); false with
    // portErrorText() saying why.
    virtual bool openHeldPort() = 0;
    virtual QString heldPortError() const = 0;
    // A request completed with the fields on the line and sent; false when it
    // could not go out (the holder's reply counts it).
    virtual bool sendRequest(const Request &request) = 0;
    // The data block of a table or screen write, then sent after its header.
    virtual void loadTableData(int table, const QByteArray &data) = 0;
    virtual void loadScreenData(const QByteArray &stream, int checkedLength) = 0;
    virtual bool sendDataBlock() = 0;
    // Bytes recorded from an earlier write, sent as they are: what the line
    // last carried is left as it was.
    virtual bool sendAsRecorded(const QByteArray &bytes) = 0;
    // Every byte that arrived since the last call.
    virtual QByteArray takeInput() = 0;
    // A note in the traffic log beside the bytes received.
    virtual void noteInTraffic(const QString &text, const QByteArray &bytes) = 0;
    // A paced read gives the line back, saying how it ended.
    virtual void giveBack(LineOutcome outcome) = 0;

protected:
    ~HeldLine() = default;
};

} // namespace z5
