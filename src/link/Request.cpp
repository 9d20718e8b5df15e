#include "link/Request.h"
#include "link/Link.h"

namespace z5 {

Request Request::blockRead(int column) {
    Request r;
    r.kind_ = SteppingRead;
    r.block_ = column;
    r.index_ = kReadIndex;
    r.code_ = 0;
    r.count_ = 0;
    r.awaitsReply_ = true;
    r.purpose_ = Purpose::BlockRead;
    return r;
}

Request Request::processCommand(CommandCode code) {
    Request r;
    r.kind_ = Command;
    r.code_ = code;
    r.block_ = 0;
    r.awaitsReply_ = true;
    r.leading_ = true;
    r.purpose_ = Purpose::ProcessCommand;
    return r;
}

Request Request::panelKey(int column, int key) {
    Request r;
    r.kind_ = Read;
    r.code_ = key;
    r.block_ = column;
    r.awaitsReply_ = true;
    r.leading_ = true;
    r.purpose_ = Purpose::PanelKey;
    return r;
}

Request Request::trendPage(int column, int page) {
    Request r;
    r.kind_ = SteppingRead;
    r.index_ = kReadIndex;
    r.count_ = page;
    r.block_ = column;
    r.awaitsReply_ = true;
    return r;
}

Request Request::trendPart(int column, int part) {
    Request r;
    r.kind_ = SteppingRead;
    r.block_ = column;
    r.index_ = part;
    r.awaitsReply_ = true;
    return r;
}

Request Request::trendPagePart(int column, int part, int page) {
    Request r;
    r.kind_ = SteppingRead;
    r.block_ = column;
    r.index_ = kReadIndex + part;
    r.code_ = 0;
    r.count_ = page;
    r.awaitsReply_ = true;
    return r;
}

Request Request::recording(int column, bool start) {
    Request r;
    r.kind_ = SteppingRead;
    r.index_ = start ? 1 : 0;
    r.count_ = kRecordingCount;
    r.block_ = column;
    return r;
}

Request Request::tableHeader(Table table, int block) {
    Request r;
    r.kind_ = TableHeader;
    r.table_ = tableNumber(table);
    if (block >= 0) r.block_ = block;
    return r;
}

Request Request::screenHeader() {
    Request r;
    r.kind_ = ScreenHeader;
    return r;
}

Request Request::repeat() {
    Request r;
    r.awaitsReply_ = true;
    return r;
}

Request Request::restartAt(int index) {
    Request r;
    r.index_ = index;
    r.awaitsReply_ = true;
    return r;
}

Request Request::withFields(const RequestFields &fields) {
    Request r;
    r.kind_ = fields.kind;
    r.table_ = fields.table;
    r.block_ = fields.block;
    r.index_ = fields.index;
    r.code_ = fields.code;
    r.count_ = fields.count;
    return r;
}

void Request::applyLeadingTo(Link &link) const {
    RequestFields &f = link.fields_;
    if (kind_) f.kind = *kind_;
    if (code_) f.code = static_cast<std::uint8_t>(*code_);
}

void Request::applyTo(Link &link) const {
    applyLeadingTo(link);
    RequestFields &f = link.fields_;
    if (table_) f.table = static_cast<std::int16_t>(*table_);
    if (block_) f.block = static_cast<std::int16_t>(*block_);
    if (index_) f.index = static_cast<std::uint8_t>(*index_);
    if (count_) f.count = static_cast<std::int16_t>(*count_);
}

} // namespace z5
