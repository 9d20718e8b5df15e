#pragma once
#include "link/TrafficRecord.h"
#include <QByteArray>
#include <QString>

namespace z5 {

class TrafficLog;

// The text form of the line's traffic, one transfer a line, fields separated by
// tabs: time in ms, → or ←, what it was, length, check value, bytes in hex.
// The monitor window saves it and the command line writes it as its trace.
class TrafficText {
public:
    static QString arrow(TrafficDirection direction);
    // "верна", "неверна", or empty when the transfer carries no check value.
    static QString checkText(CheckState check);
    // Bytes as "01 03 0A"; with maxBytes >= 0 only the first maxBytes, then "…".
    static QString hex(const QByteArray &bytes, int maxBytes = -1);
    // Sixteen bytes a line, each line led by its offset, for a long block.
    static QString hexDump(const QByteArray &bytes);
    static QString line(const TrafficRecord &record);
    // Every kept transfer, UTF-8, each line ended by a line feed.
    static QByteArray text(const TrafficLog &log);
};

} // namespace z5
