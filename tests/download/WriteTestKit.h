#pragma once
// Shared by the schedule tests: tables of known content, and an observer that
// writes down what happened when.
#include "LineBench.h"
#include "app/LineAlerts.h"
#include "app/WriteMessages.h"
#include "download/WriteMarks.h"
#include "link/WriteReply.h"
#include "download/DownloadTables.h"
#include "link/Link.h"
#include "download/DownloadChain.h"
#include "download/ScreenWrite.h"
#include "download/SetpointWrite.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include "link/FakeSerialPort.h"
#include "link/LineSession.h"
#include "LineSessionProbe.h"
#include "model/Clock.h"
#include "model/RecordingPrompts.h"
#include "model/VirtualClock.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace z5::testing {

// Every table filled with its own number (tables 0 and 1 behind their "0"), at
// the data count its header announces.
class PatternTables : public DownloadTables {
public:
    PatternTables() {
        for (int t = 0; t < wire::kTableCount; ++t) {
            QByteArray data(Link::tableDataCount(t), static_cast<char>(0x40 + t));
            if (Table(t) == Table::Blocks || Table(t) == Table::Links) data.prepend('0');
            data_[t] = data;
        }
    }
    TableBuild checkDownload() const override { return {{}, downloadProblem, QStringLiteral("Ошибка")}; }
    TableBuild table(int n) const override {
        if (brokenTable && n == tableNumber(*brokenTable)) return {{}, QStringLiteral("Ошибка параметра"), QStringLiteral("Ошибка")};
        return {data_.at(n), {}, {}};
    }
    TableBuild checkSetpoints(int block) const override {
        return {{}, block == setpointBlock ? setpointProblem : QStringLiteral("no setpoint programmer"),
                QStringLiteral("Ошибка")};
    }
    TableBuild setpoints(int block) const override {
        if (block != setpointBlock) return {{}, QStringLiteral("no setpoint programmer"), QStringLiteral("Ошибка")};
        return {data(Table::Setpoints), setpointProblemAtTick, QStringLiteral("Ошибка")};
    }
    QByteArray data(Table table) const { return data_.at(tableNumber(table)); }

    QString downloadProblem;       // non-empty: the download's value check fails
    std::optional<Table> brokenTable; // this table cannot be built at its tick
    int setpointBlock = 7;         // the only setpoint programmer
    QString setpointProblem;       // the setpoint check fails
    QString setpointProblemAtTick; // the setpoints fail only when built for sending

private:
    std::map<int, QByteArray> data_;
};

// "time event" lines, in order. A QObject so that its connections end with it.
class EventLog : public QObject {
public:
    explicit EventLog(const Clock &clock) : clock_(clock) {}
    // Every write the line owner starts, from its first step.
    void follow(LineSession &line) {
        connect(&line, &LineSession::writeStarted, this, [this](const std::shared_ptr<WriteReply> &w) {
            writes.push_back(w);
            follow(*w);
        });
    }
    void follow(WriteReply &w) {
        connect(&w, &WriteReply::marked, this, [this](int mark) {
            switch (mark) {
            case WriteMarks::kClosingOpened: add("bar 1"); add("bar shown"); break;
            case WriteMarks::kWindowHeld: add("window disabled"); break;
            case WriteMarks::kClosed: add("window enabled"); add("bar hidden"); add("designer restored"); break;
            case WriteMarks::kDesignerHidden: add("designer hidden"); break;
            default: add(QStringLiteral("bar %1").arg(mark)); break;
            }
        });
        connect(&w, &WriteReply::headerSent, this, [this](int table, bool sent) {
            add(QStringLiteral("header %1%2").arg(table).arg(sent ? "" : " failed"));
        });
        connect(&w, &WriteReply::dataSent, this, [this](int table, int bytes, bool sent) {
            add(QStringLiteral("data %1 %2%3").arg(table).arg(bytes).arg(sent ? "" : " failed"));
        });
        connect(&w, &WriteReply::stepRefused, this, [this](int table) { add(QStringLiteral("refused %1").arg(table)); });
        connect(&w, &WriteReply::portClosed, this, [this] { add("port closed"); });
        connect(&w, &WriteReply::portReopened, this, [this](bool opened) { add(opened ? "reopened" : "not reopened"); });
        connect(&w, &WriteReply::finished, this, [this] { add("finished"); });
    }

    // Events of one kind, e.g. "header", "data", "window".
    QStringList only(const QString &prefix) const {
        QStringList out;
        for (const QString &l : lines)
            if (l.section(' ', 1).startsWith(prefix)) out << l;
        return out;
    }
    QStringList lines;
    // The writes followed, in the order they started.
    std::vector<std::shared_ptr<WriteReply>> writes;

private:
    void add(const QString &what) { lines << QStringLiteral("%1 %2").arg(clock_.nowMs()).arg(what); }
    const Clock &clock_;
};

inline QByteArray tableHeader(int station, Table table, int block = 0) {
    const int len = Link::tableLengthField(tableNumber(table));
    QByteArray f;
    f.append(char(station)).append(char(0x33 + tableNumber(table))).append(char(len >> 8)).append(char(len & 0xFF));
    f.append(char(0)).append(char(table == Table::Setpoints ? block : 0));
    const auto crc = Link::checkValueOf(f);
    f.append(char(crc >> 8)).append(char(crc & 0xFF));
    return f;
}

// A download chain on the virtual clock and an in-memory port, with every step
// logged and what the user is told shown as the session shows it.
struct ChainRig : LineBench {
    // What the line reports, told through the prompts as the front ends do.
    LineAlerts alerts{line, prompts};
    PatternTables tables;
    WriteMessages messages{line, prompts};
    DownloadChain chain{clock, line, tables};
    EventLog log{clock};
    ChainRig() { log.follow(line); }
    // The write started last.
    WriteReply &lastWrite() { return *log.writes.back(); }
};

// The chain with the two other writes that share its timers: setpoints and the screen.
struct WritesRig : ChainRig {
    SetpointWrite setpoints{chain};
    ScreenModel model;
    ScreenBuilder builder;
    ScreenWrite screen{chain, builder, model};
};

} // namespace z5::testing
