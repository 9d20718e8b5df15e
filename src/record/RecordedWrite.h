#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <map>
#include <vector>

namespace z5 {

// One write to a controller as the station record keeps it: who wrote what,
// where, from which netlist, every piece as it left the port, and how it ended.
struct RecordedWrite {
    enum class Kind { Download, Setpoints, Screen };
    // Unfinished: entered when the write started and never completed (the
    // program was killed, the computer lost power); such an entry is kept as it is.
    enum class State { Unfinished, Finished, Failed };

    // One frame or data block as it went out, `atMs` from the start of the write.
    struct Piece {
        enum class What { Header, Data };
        qint64 atMs = 0;
        int tag = 0;          // the table number, or the screen's tag
        What what = What::Header;
        QByteArray bytes;     // as written to the port, check value included
    };

    qint64 id = 0;
    Kind kind = Kind::Download;
    QDateTime started;        // UTC
    QDateTime ended;          // UTC; invalid while unfinished
    QString user;             // the computer's user
    QString programVersion;
    QString port;             // the device as opened
    QString adapter;          // the adapter's serial number or description; may be empty
    int station = 1;
    QString netlistName;      // the file name, without folders
    QByteArray netlistHash;   // hex SHA-256 of the netlist file's bytes
    State state = State::Unfinished;
    QString failure;          // why it failed; empty otherwise
    qint64 bytesSent = 0;
    qint64 bytesTotal = 0;
    std::vector<Piece> pieces;

    // The port's closing and its opening again within the write, `atMs` from
    // its start, after the first `afterPieces` pieces: with the pieces they make
    // the write's whole schedule, so that it can be sent again as it went.
    struct PortStep {
        enum class What { Close, Reopen };
        qint64 atMs = 0;
        What what = What::Close;
        int afterPieces = 0;
    };
    std::vector<PortStep> portSteps;

    // The data block of `tag` as it went out (empty when none did).
    QByteArray dataOf(int tag) const {
        for (const Piece &p : pieces)
            if (p.tag == tag && p.what == Piece::What::Data) return p.bytes;
        return QByteArray();
    }
};

// What the station record answers to readers that only look (the console's
// marks, the change list, the visit report): an interface, so they can be
// tested on entries held in memory.
class WriteHistory {
public:
    virtual ~WriteHistory() = default;
    // For every table tag, the data block of the latest finished write of this
    // netlist to this station that carried it (a setpoint write carries one
    // table, a download many). Empty when nothing was written.
    virtual std::map<int, QByteArray> lastWrittenData(int station, const QByteArray &netlistHash) const = 0;
    // The entries started within [from, to] (UTC), oldest first; station 0: every station.
    virtual std::vector<RecordedWrite> entries(const QDateTime &from, const QDateTime &to, int station = 0) const = 0;
};

} // namespace z5
