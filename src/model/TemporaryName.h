#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

namespace z5 {

// The names of what a save keeps beside its target while it works: hidden, led
// by the target's name and ended by ".~z5", a letter for the kind, the number of
// the saving process and a random part, as in ".котёл.par.~z5t-4711-0a1b2c3d".
// The target's name is cut (never inside a character) so that the whole name
// stays within the 255 bytes a file name may have. The ending marks a file as
// ours; the process number tells whether the save that made it can still be
// running, so a later save removes only what a save that ended without
// finishing left behind.
class TemporaryName {
public:
    enum class Kind : char {
        Staged = 't',   // the new content, renamed over the target when complete
        Aside = 'a',    // the old target kept under a second name while a set is replaced
        Journal = 'j',  // the record of a set being replaced
        Scratch = 'd',  // a folder for a library's own temporary files
    };
    static constexpr int kMaxNameBytes = 255;

    struct Parsed {
        Kind kind;
        qint64 process;
    };

    static QString make(const QString &targetName, Kind kind, qint64 process, quint32 random);
    // A path beside target with a name of that kind and process and a fresh random part.
    static QString beside(const QString &target, Kind kind, qint64 process);
    // Empty for a name that is not one of ours.
    static std::optional<Parsed> parse(const QString &fileName);
    // A name filter that lists our names (and perhaps a few others; parse decides).
    static QString filter();
};

} // namespace z5
