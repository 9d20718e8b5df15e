#include "link/Request.h"

namespace z5 {

void Request::set(Field f, int value) {
    sets_ |= f;
    switch (f) {
    case KindField: fields_.kind = static_cast<std::uint8_t>(value); break;
    case TableField: fields_.table = static_cast<std::int16_t>(value); break;
    case BlockField: fields_.block = static_cast<std::int16_t>(value); break;
    case IndexField: fields_.index = static_cast<std::uint8_t>(value); break;
    case CodeField: fields_.code = static_cast<std::uint8_t>(value); break;
    case CountField: fields_.count = static_cast<std::int16_t>(value); break;
    default: break;
    }
}

Request Request::blockRead(int column) {
    Request r;
    r.set(KindField, SteppingRead);
    r.set(BlockField, column);
    r.set(IndexField, kReadIndex);
    r.set(CodeField, 0);
    r.set(CountField, 0);
    r.awaitsReply_ = true;
    r.purpose_ = Purpose::BlockRead;
    return r;
}

Request Request::processCommand(CommandCode code) {
    Request r;
    r.set(KindField, Command);
    r.set(CodeField, code);
    r.set(BlockField, 0);
    r.awaitsReply_ = true;
    r.leading_ = true;
    r.purpose_ = Purpose::ProcessCommand;
    return r;
}

Request Request::panelKey(int column, int key) {
    Request r;
    r.set(KindField, Read);
    r.set(CodeField, key);
    r.set(BlockField, column);
    r.awaitsReply_ = true;
    r.leading_ = true;
    r.purpose_ = Purpose::PanelKey;
    return r;
}

Request Request::trendPage(int column, int page) {
    Request r;
    r.set(KindField, SteppingRead);
    r.set(IndexField, kReadIndex);
    r.set(CountField, page);
    r.set(BlockField, column);
    r.awaitsReply_ = true;
    return r;
}

Request Request::trendPagePart(int column, int part, int page) {
    Request r;
    r.set(KindField, SteppingRead);
    r.set(BlockField, column);
    r.set(IndexField, kReadIndex + part);
    r.set(CodeField, 0);
    r.set(CountField, page);
    r.awaitsReply_ = true;
    return r;
}

Request Request::recording(int column, bool start) {
    Request r;
    r.set(KindField, SteppingRead);
    r.set(IndexField, start ? 1 : 0);
    r.set(CountField, kRecordingCount);
    r.set(BlockField, column);
    return r;
}

Request Request::tableHeader(Table table, int block) {
    Request r;
    r.set(KindField, TableHeader);
    r.set(TableField, tableNumber(table));
    if (block >= 0) r.set(BlockField, block);
    return r;
}

Request Request::screenHeader() {
    Request r;
    r.set(KindField, ScreenHeader);
    return r;
}

Request Request::withFields(const RequestFields &fields) {
    Request r;
    r.fields_ = fields;
    r.sets_ = EveryField;
    return r;
}

Request Request::addressedTo(int station) const {
    Request r = *this;
    r.fields_.station = static_cast<std::uint8_t>(station >= 1 && station <= 255 ? station : 0);
    return r;
}

RequestFields Request::leadingCompletedFrom(const RequestFields &onLine) const {
    RequestFields f = onLine;
    // Each request goes to its own station: the chosen one unless it names another.
    f.station = fields_.station;
    if (sets_ & KindField) f.kind = fields_.kind;
    if (sets_ & CodeField) f.code = fields_.code;
    return f;
}

RequestFields Request::completedFrom(const RequestFields &onLine) const {
    RequestFields f = leadingCompletedFrom(onLine);
    if (sets_ & TableField) f.table = fields_.table;
    if (sets_ & BlockField) f.block = fields_.block;
    if (sets_ & IndexField) f.index = fields_.index;
    if (sets_ & CountField) f.count = fields_.count;
    return f;
}

} // namespace z5
