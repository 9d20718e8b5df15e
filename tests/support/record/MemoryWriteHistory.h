#pragma once
// The station record held in memory, for what only reads it: entries are
// built from the tables a write really sends, header frames with their check value.
#include "download/ProjectDownloadTables.h"
#include "link/Link.h"
#include "link/WireSizes.h"
#include "record/RecordedWrite.h"
#include <initializer_list>

namespace z5::test {

class MemoryWriteHistory : public WriteHistory {
public:
    std::vector<RecordedWrite> writes;   // oldest first

    std::map<int, QByteArray> lastWrittenData(int station, const QByteArray &netlistHash) const override {
        std::map<int, QByteArray> data;
        for (const RecordedWrite &w : writes) {
            if (w.station != station || w.netlistHash != netlistHash || w.state != RecordedWrite::State::Finished) continue;
            for (const auto &p : w.pieces)
                if (p.what == RecordedWrite::Piece::What::Data) data[p.tag] = p.bytes;
        }
        return data;
    }

    std::vector<RecordedWrite> entries(const QDateTime &from, const QDateTime &to, int station = 0) const override {
        std::vector<RecordedWrite> out;
        for (const RecordedWrite &w : writes)
            if (w.started >= from && w.started <= to && (station == 0 || w.station == station)) out.push_back(w);
        return out;
    }

    static QByteArray header(int station, int table, int block = 0) {
        const int length = Link::tableLengthField(table);
        QByteArray frame;
        for (int b : {station, wire::kFirstTableByte + table, length >> 8, length & 0xFF, 0, block})
            frame.append(static_cast<char>(b));
        return Link::withCheckValue(frame);
    }

    // A download of the given tables (all twelve when none are named) as the
    // project and store stand, `minutes` after a fixed start.
    RecordedWrite &download(const ProjectDownloadTables &tables, int minutes, const QByteArray &hash = "h1",
                            int station = 1, std::initializer_list<int> only = {}) {
        RecordedWrite w = entry(RecordedWrite::Kind::Download, minutes, hash, station);
        std::vector<int> wanted(only);
        if (wanted.empty())
            for (int t = 0; t < tableNumber(Table::Setpoints); ++t) wanted.push_back(t);
        for (int t : wanted) {
            const QByteArray data = tables.table(t).data;
            const QByteArray sent = data;   // tables 0 and 1 hold their leading "0" already
            w.pieces.push_back({t * 100, t, RecordedWrite::Piece::What::Header, header(station, t)});
            w.pieces.push_back({t * 100 + 50, t, RecordedWrite::Piece::What::Data, sent});
            w.bytesTotal += sent.size() + 8;
        }
        w.bytesSent = w.bytesTotal;
        writes.push_back(w);
        return writes.back();
    }

    // The setpoint write of the block in `column`.
    RecordedWrite &setpoints(const ProjectDownloadTables &tables, int column, int minutes, const QByteArray &hash = "h1",
                             int station = 1) {
        RecordedWrite w = entry(RecordedWrite::Kind::Setpoints, minutes, hash, station);
        const int t = tableNumber(Table::Setpoints);
        w.pieces.push_back({0, t, RecordedWrite::Piece::What::Header, header(station, t, column)});
        w.pieces.push_back({200, t, RecordedWrite::Piece::What::Data, tables.setpoints(column).data});
        w.bytesSent = w.bytesTotal = 8 + 32;
        writes.push_back(w);
        return writes.back();
    }

    static QDateTime start() { return QDateTime(QDate(2024, 3, 1), QTime(8, 0), Qt::UTC); }

private:
    RecordedWrite entry(RecordedWrite::Kind kind, int minutes, const QByteArray &hash, int station) const {
        RecordedWrite w;
        w.id = static_cast<qint64>(writes.size()) + 1;
        w.kind = kind;
        w.started = start().addSecs(minutes * 60);
        w.ended = w.started.addSecs(20);
        w.user = QStringLiteral("engineer");
        w.programVersion = QStringLiteral("1.0");
        w.port = QStringLiteral("/dev/ttyUSB0");
        w.station = station;
        w.netlistName = QStringLiteral("boiler.net");
        w.netlistHash = hash;
        w.state = RecordedWrite::State::Finished;
        return w;
    }
};

} // namespace z5::test
