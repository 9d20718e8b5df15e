#include "parfile/ParameterFileReader.h"
#include "model/Cp1251.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileLayout.h"
#include "parfile/ParameterReadRules.h"
#include <QIODevice>
#include <optional>

namespace z5 {
namespace {

constexpr int kQuotedChars = 40;

ParameterFileLoad failure(int line, const QString &message) { return {false, line, message}; }

QString quoted(const QString &text) {
    return text.size() > kQuotedChars ? text.left(kQuotedChars) + QStringLiteral("…") : text;
}

// One line without its line end; empty optional at the end of the data.
std::optional<QByteArray> nextLine(QIODevice &in) {
    if (in.atEnd()) return std::nullopt;
    QByteArray line = in.readLine();
    if (line.endsWith('\n')) line.chop(1);
    if (line.endsWith('\r')) line.chop(1);
    return line;
}

// Stores one line's value; false when its read rule rejects it.
bool storeLine(const ParameterFileLayout::Section &section, const StorePlace &place, const QByteArray &raw,
               QChar sep, ParameterStore &store) {
    const QString line = cp1251::decode(raw);
    switch (section.rule) {
    case ReadRule::Locale: {
        const auto v = ParameterReadRules::localeNumber(line, sep);
        return v && store.setNumber(place, *v);
    }
    case ReadRule::Leading: {
        const auto v = ParameterReadRules::leadingNumber(line);
        return v && store.setNumber(place, *v);
    }
    case ReadRule::Text:
        return store.setText(place, line);
    case ReadRule::Byte: {
        const auto v = ParameterReadRules::byte(line, sep);
        return v && store.setByte(place, *v);
    }
    }
    return false;
}

} // namespace

ParameterFileLoad ParameterFileReader::read(QIODevice &in, QChar decimalSeparator, ParameterStore &store) {
    int lineNumber = 1;
    if (!nextLine(in))
        return failure(1, QStringLiteral("Файл параметров пуст. Параметры не изменены."));

    ParameterStore staged = store;
    for (const auto &section : ParameterFileLayout::sections()) {
        for (int first = 0; first < section.firstCount; ++first) {
            for (int second = section.secondFrom; second <= section.secondTo; ++second) {
                ++lineNumber;
                const auto raw = nextLine(in);
                if (!raw)
                    return failure(lineNumber,
                                   QStringLiteral("Файл параметров обрывается: нет строки %1 из %2. "
                                                  "Параметры не изменены.")
                                       .arg(lineNumber)
                                       .arg(ParameterFileLayout::kLineCount));
                const StorePlace place{section.table, section.type, first, second};
                if (!storeLine(section, place, *raw, decimalSeparator, staged))
                    return failure(lineNumber, QStringLiteral("Строка %1 файла параметров не читается: \"%2\". "
                                                              "Параметры не изменены.")
                                                   .arg(lineNumber)
                                                   .arg(quoted(cp1251::decode(*raw))));
            }
        }
    }
    store = staged;
    return {true, 0, QString()};
}

} // namespace z5
