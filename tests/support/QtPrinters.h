#pragma once
// How the tests' failure messages and parameter listings show Qt's strings and
// byte arrays: text in quotes with control characters escaped, bytes as text
// when they are text and as spaced hex otherwise. Every test program gets this
// header ahead of its own code (tests/CMakeLists.txt), so an EXPECT_EQ on two
// QByteArrays says which bytes differ instead of dumping the objects' memory.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <ostream>

namespace z5::testing {

// Bytes past this many are counted, not shown: a screen stream has 28809.
constexpr int kPrintedBytes = 256;

inline bool looksLikeText(const QByteArray &bytes) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\n' && c != '\r' && c != '\t') return false;
        if (u == 0x7f) return false;
    }
    return !bytes.isEmpty();
}

// UTF-8 text in double quotes, with quotes, backslashes and control characters escaped.
inline void printQuoted(const QByteArray &utf8, std::ostream *os) {
    *os << '"';
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') *os << '\\' << c;
        else if (c == '\n') *os << "\\n";
        else if (c == '\r') *os << "\\r";
        else if (c == '\t') *os << "\\t";
        else if (u < 0x20 || u == 0x7f) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            *os << hex;
        } else *os << c;
    }
    *os << '"';
}

} // namespace z5::testing

inline void PrintTo(const QByteArray &bytes, std::ostream *os) {
    const int shown = std::min<int>(static_cast<int>(bytes.size()), z5::testing::kPrintedBytes);
    const QByteArray head = bytes.left(shown);
    if (z5::testing::looksLikeText(bytes)) z5::testing::printQuoted(head, os);
    else *os << '[' << head.toHex(' ').constData() << ']';
    if (shown < bytes.size()) *os << "... (" << bytes.size() << " bytes)";
}

inline void PrintTo(const QString &text, std::ostream *os) { z5::testing::printQuoted(text.toUtf8(), os); }

inline void PrintTo(const QStringList &list, std::ostream *os) {
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i) *os << ", ";
        PrintTo(list.at(i), os);
    }
    *os << '}';
}
