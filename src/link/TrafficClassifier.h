#pragma once
#include "link/TrafficRecord.h"
#include <QByteArray>
#include <QString>
#include <functional>

namespace z5 {

// Names what went over the line from its bytes and from the request before
// it: a data block is known by the header that announced it, a reply by the
// request it answers. It only looks; it never changes what is sent.
class TrafficClassifier {
public:
    // The type code of the block in a column (0..99), for telling the first
    // part of a trend page (a read of a recorder block) from a block read,
    // which look alike on the wire. 0 when unknown.
    using BlockTypeOf = std::function<int(int column)>;
    static constexpr int kTrendRecorderType = 28;

    void setBlockTypes(BlockTypeOf blockTypeOf) { blockTypeOf_ = std::move(blockTypeOf); }

    // Fills kind, check and what of the record from its bytes and direction.
    void classify(TrafficRecord &record);
    // Forgets the request awaiting a reply and any announced data block.
    void reset();
    // The exchange is over: what still comes for its request came too late.
    void exchangeEnded() { late_ = awaiting_ != Awaiting::Nothing; }

    // Names for the filter and the text lines.
    static QString kindName(TrafficKind kind);
    static QString processCommandName(int code);

private:
    enum class Awaiting { Nothing, BlockReply, TrendPart };

    void classifySent(TrafficRecord &record);
    void classifyFrame(TrafficRecord &record);
    void classifyRead(TrafficRecord &record, int blockByte, int index, int code, int count);
    void classifyReceived(TrafficRecord &record);
    void expectData(TrafficKind kind, int table, int length);
    bool isTrendRecorder(int column) const;

    BlockTypeOf blockTypeOf_;
    // The data block a header announced, until it goes out.
    TrafficKind dataKind_ = TrafficKind::Stray;
    int dataTable_ = -1;
    int dataLength_ = -1;
    // The request whose reply is awaited.
    Awaiting awaiting_ = Awaiting::Nothing;
    QString request_;
    int trendBlockByte_ = -1;
    bool late_ = false;
};

} // namespace z5
