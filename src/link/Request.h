#pragma once
#include "link/WireSizes.h"
#include <cstdint>
#include <optional>

namespace z5 {

// The six fields a request frame is built from, and the station it goes to
// when the request names one itself.
struct RequestFields {
    std::uint8_t kind = 0;
    std::int16_t table = 0;
    std::int16_t block = 0;
    std::uint8_t index = 0;
    std::uint8_t code = 0;
    std::int16_t count = 0;
    // 0: the station chosen in the port settings. A station search asks each
    // station in turn without touching that choice.
    std::uint8_t station = 0;

    bool operator==(const RequestFields &o) const {
        return kind == o.kind && table == o.table && block == o.block && index == o.index && code == o.code &&
               count == o.count && station == o.station;
    }
    bool operator!=(const RequestFields &o) const { return !(*this == o); }
};

// One request the system sends, as a value. Each named constructor sets the
// fields its frame takes from this request; the others are carried: they go out
// as they were last on the line (a process command carries the last index and
// count, a recording start or stop the last code). Only the line owner knows
// what was last on the line: it completes the request as it goes out
// (completedFrom) and records the frame in the request's reply.
class Request {
public:
    // Frame layouts on the wire.
    enum Kind : std::uint8_t {
        ScreenHeader = 0,   // header of a screen image write
        TableHeader = 1,    // header of a table write
        SteppingRead = 2,   // read; the index steps up after each frame
        Read = 3,
        Command = 4
    };
    // Process command codes of a kind 4 frame.
    enum CommandCode : std::uint8_t { PauseProcess = 50, StartProcess = 51, ProcessPicture = 52, StoreSchema = 53 };

    // What a request is for, so that the line's queue can tell which waiting
    // request a newer one makes pointless.
    enum class Purpose : std::uint8_t { Other, BlockRead, ProcessCommand, PanelKey };

    // The fields of a frame, as bits of which this request sets.
    enum Field : std::uint8_t {
        KindField = 1, TableField = 2, BlockField = 4, IndexField = 8, CodeField = 16, CountField = 32,
        EveryField = 63
    };

    static constexpr int kReadIndex = 10;           // index of a block read and of a page's first part
    static constexpr int kRecordingCount = 2;

    // The live values of the block in `column`: index 10, code 0, count 0.
    static Request blockRead(int column);
    // Pause, start, the process picture or store the configuration; block 0.
    static Request processCommand(CommandCode code);
    // A key of the operator panel block in `column`; code = the key.
    static Request panelKey(int column, int key);
    // The first part of trend page `page` of the recorder in `column` (0: the
    // page being recorded); code carried.
    static Request trendPage(int column, int page);
    // Part 0..29 of trend page `page` (0: the page being recorded) asked for by
    // itself: index 10 + part, code 0, count = page.
    static Request trendPagePart(int column, int part, int page);
    // Recording start (index 1) or stop (index 0) of the recorder in `column`, count 2.
    static Request recording(int column, bool start);
    // The header of a table write; the block goes out only in table 12's header.
    static Request tableHeader(Table table, int block = -1);
    static Request screenHeader();
    // Every field as given, out-of-range values included (diagnostics and tests).
    static Request withFields(const RequestFields &fields);

    // The same request sent to `station` (1..255) instead of the station chosen
    // in the settings. The station is never carried to the next request.
    Request addressedTo(int station) const;
    // The station this request names itself, or none (the chosen one).
    std::optional<int> station() const {
        return fields_.station != 0 ? std::optional<int>(fields_.station) : std::nullopt;
    }

    // The whole frame this request sends when `onLine` was last on the line:
    // the fields it sets, the others carried.
    RequestFields completedFrom(const RequestFields &onLine) const;
    // What a process command or panel key sets before the port is opened: the
    // kind and the code stay set even when the port does not open.
    RequestFields leadingCompletedFrom(const RequestFields &onLine) const;

    // The fields this request sets (see Field); the others are carried.
    unsigned setFields() const { return sets_; }
    // The values of the fields it sets (the others read 0).
    const RequestFields &fields() const { return fields_; }
    std::optional<std::uint8_t> kind() const { return field(KindField, fields_.kind); }
    std::optional<int> table() const { return field(TableField, fields_.table); }
    std::optional<int> block() const { return field(BlockField, fields_.block); }
    std::optional<int> index() const { return field(IndexField, fields_.index); }
    std::optional<int> code() const { return field(CodeField, fields_.code); }
    std::optional<int> count() const { return field(CountField, fields_.count); }
    // A reply is awaited after this request (reads, commands and panel keys).
    bool awaitsReply() const { return awaitsReply_; }
    bool setsLeadingFields() const { return leading_; }
    Purpose purpose() const { return purpose_; }

private:
    template <typename T>
    std::optional<T> field(Field f, T value) const {
        return (sets_ & f) ? std::optional<T>(value) : std::nullopt;
    }
    void set(Field f, int value);

    RequestFields fields_;
    unsigned sets_ = 0;
    bool awaitsReply_ = false;
    bool leading_ = false;
    Purpose purpose_ = Purpose::Other;
};

} // namespace z5
