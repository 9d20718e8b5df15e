#pragma once
#include "app/LineAlerts.h"
#include "app/StationRecorder.h"
#include "app/WriteMessages.h"
#include "download/DownloadChain.h"
#include "download/ProjectDownloadTables.h"
#include "download/ScreenWrite.h"
#include "download/SetpointWrite.h"
#include "import/NetlistImport.h"
#include "link/LineSession.h"
#include "link/ReplyReception.h"
#include "model/ParameterStore.h"
#include "model/Project.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"
#include <QByteArray>
#include "trends/TrendSession.h"

namespace z5 {

class WriteHistory;
class Clock;
class SerialPort;
class Prompts;

// Everything one run works on, wired once: the configurator creates it with the
// real clock, port and prompts and its windows share it; z5ctl creates one per
// verb; tests create it with virtual ones. Nothing here is a widget.
class Session {
public:
    Session(Clock &clock, SerialPort &port, Prompts &prompts);

    Clock &clock;
    Prompts &prompts;

    Project project;
    ParameterStore store;
    // The parameters as last saved to or loaded from a file, or written into the
    // controller: edits beyond them are asked about before they could be lost.
    ParameterStore keptParameters;
    bool parametersUnsaved() const { return store != keptParameters; }
    ScreenModel screen;
    NetlistImport netlistImport;
    // The one owner of the serial line: the port is reached only through it.
    LineSession line;
    // Enters every write in the station record, before anyone else hears of
    // its end; nothing until a record is opened (recorder.open(), which makes
    // it the writeHistory below).
    StationRecorder recorder;
    // What the line reports, told to the user through the prompts.
    LineAlerts lineAlerts;
    // Shows what became of every write, whoever started it.
    WriteMessages writeMessages;
    ProjectDownloadTables tables;
    DownloadChain chain;
    SetpointWrite setpointWrite;
    ScreenBuilder screenBuilder;
    ScreenWrite screenWrite;
    TrendSession trends;

    // The station record that the console's marks, its change list and the
    // question before writing compare with; null: no record, so none of them.
    const WriteHistory *writeHistory = nullptr;
    // Hex SHA-256 of the imported netlist file's bytes: the record's key for
    // "this netlist"; empty before an import.
    QByteArray netlistHash;
    // That file's name, without folders, as the record keeps it.
    QString netlistName;
};

} // namespace z5
