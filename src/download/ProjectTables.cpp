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

QByteArray ProjectTables::table(Table table, const Project &project) {
    switch (table) {
    case Table::Blocks: return blockSchema(project);
    case Table::Links: return blockLinkSchema(project);
    case Table::TrendLinks: return trendLinkSchema(project);
    case Table::JournalLinks: return journalLinkSchema(project);
    case Table::ScreenLinks: return scadaLinkSchema(project);
    default: return QByteArray();
    }
}

} // namespace z5
