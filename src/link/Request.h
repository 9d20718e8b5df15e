#pragma once
#include "link/WireSizes.h"
#include <cstdint>
#include <optional>

namespace z5 {

class Link;

// The fields a request frame is built from, as the link holds them between requests.
struct RequestFields {
    std::uint8_t kind = 0;
    std::int16_t table = 0;
    std::int16_t block = 0;
    std::uint8_t index = 0;
    std::uint8_t code = 0;
    std::int16_t count = 0;
};

// One request the system sends, as a value. Each named constructor sets the
// fields its frame takes from this request; the fields it leaves unset go out as
// the previous request left them on the line (a process command carries the last
// index and count, a recording start or stop the last code).
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

    static constexpr int kReadIndex = 10;           // index of a block read and of a page's first part
    static constexpr int kRecordingCount = 2;

    // The live values of the block in `column`: index 10, code 0, count 0.
    static Request blockRead(int column);
    // Pause, start, the process picture or store the configuration; block 0.
    static Request processCommand(CommandCode code);
    // A key of the operator panel block in `column`; code = the key.
    static Request panelKey(int column, int key);
    // The first part of trend page `page` of the recorder in `column` (0: the page
    // being recorded). The following parts go out as stepping repeats.
    static Request trendPage(int column, int page);
    // A given part of a page already asked for: index = part.
    static Request trendPart(int column, int part);
    // Part 0..29 of trend page `page` (0: the page being recorded) asked for by
    // itself: index 10 + part, code 0, count = page.
    static Request trendPagePart(int column, int part, int page);
    // Recording start (index 1) or stop (index 0) of the recorder in `column`, count 2.
    static Request recording(int column, bool start);
    // The header of a table write; the block goes out only in table 12's header.
    static Request tableHeader(Table table, int block = -1);
    static Request screenHeader();
    // The same fields again: a stepping read asks for the next part.
    static Request repeat();
    // The same fields with the index set back to `index`: a stalled stepping
    // read starts its page over.
    static Request restartAt(int index);
    // Every field as given, out-of-range values included (diagnostics and tests).
    static Request withFields(const RequestFields &fields);

    // Writes the fields this request sets into the link's request fields.
    void applyTo(Link &link) const;
    // The fields a process command or panel key sets before the port is opened:
    // the kind and the code stay set even when the port does not open.
    void applyLeadingTo(Link &link) const;

    std::optional<std::uint8_t> kind() const { return kind_; }
    std::optional<int> table() const { return table_; }
    std::optional<int> block() const { return block_; }
    std::optional<int> index() const { return index_; }
    std::optional<int> code() const { return code_; }
    std::optional<int> count() const { return count_; }
    // A reply is awaited after this request (reads, commands and panel keys).
    bool awaitsReply() const { return awaitsReply_; }
    bool setsLeadingFields() const { return leading_; }
    Purpose purpose() const { return purpose_; }

private:
    std::optional<std::uint8_t> kind_;
    std::optional<int> table_;
    std::optional<int> block_;
    std::optional<int> index_;
    std::optional<int> code_;
    std::optional<int> count_;
    bool awaitsReply_ = false;
    bool leading_ = false;
    Purpose purpose_ = Purpose::Other;
};

} // namespace z5
