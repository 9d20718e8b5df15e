#include "download/ProjectTables.h"

namespace z5 {
namespace {

char byte(int value) { return static_cast<char>(value & 0xFF); }

} // namespace

QByteArray ProjectTables::blockSchema(const Project &project) {
    QByteArray data;
    data.reserve(1 + 5 * Project::kColumns);
    data.append('0');
    for (int row = 0; row < 5; ++row)
        for (int c = 0; c < Project::kColumns; ++c) data.append(byte(project.schema(row, c)));
    return data;
}

QByteArray ProjectTables::blockLinkSchema(const Project &project) {
    QByteArray data;
    data.reserve(1 + 16 * Project::kColumns);
    data.append('0');
    for (int element = 0; element < 16; ++element)
        for (int c = 0; c < Project::kColumns; ++c) data.append(byte(project.link(c, element)));
    return data;
}

QByteArray ProjectTables::trendLinkSchema(const Project &project) {
    QByteArray data;
    data.reserve(64);
    for (int i = 0; i < 64; ++i) data.append(byte(project.trendLink(i)));
    return data;
}

QByteArray ProjectTables::journalLinkSchema(const Project &project) {
    QByteArray data;
    data.reserve(68);
    for (int i = 0; i < 68; ++i) data.append(byte(project.journalLink(i)));
    return data;
}

QByteArray ProjectTables::scadaLinkSchema(const Project &project) {
    QByteArray data;
    data.reserve(8 * 68);
    for (int page = 0; page < 8; ++page)
        for (int i = 0; i < 68; ++i) data.append(byte(project.scadaLink(page, i)));
    return data;
}

QByteArray ProjectTables::table(int number, const Project &project) {
    switch (number) {
    case 0: return blockSchema(project);
    case 1: return blockLinkSchema(project);
    case 2: return trendLinkSchema(project);
    case 3: return journalLinkSchema(project);
    case 4: return scadaLinkSchema(project);
    default: return QByteArray();
    }
}

} // namespace z5
