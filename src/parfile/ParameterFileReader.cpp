#include "parfile/ParameterFileReader.h"
#include "model/Cp1251.h"
#include "model/PrintableText.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileLayout.h"
#include "parfile/ParameterReadRules.h"
#include <QIODevice>

namespace z5 {
namespace {

constexpr int kQuotedChars = 40;

ParameterFileLoad failure(int line, const QString &message) { return {false, line, message}; }

// Shortened, and with control characters shown escaped: a line with terminal
// escapes must not retitle or clear the terminal that shows the message.
QString quoted(const QString &text) {
    return printableLine(text.size() > kQuotedChars ? text.left(kQuotedChars) + QStringLiteral("…") : text);
}

enum class LineRead { Line, End, TooLong };

// One line without its line end. No more than the longest line allowed is ever
// taken from the device, so a file of one endless line costs no memory.
LineRead nextLine(QIODevice &in, QByteArray &line) {
    // Only an empty read means the end: an empty line still brings its line end.
    // atEnd() is not asked first, as a device without a size (a pipe) claims it early.
    // Into a fixed buffer: readLine(max) would set the whole bound aside for every line.
    char buffer[ParameterFileReader::kMaxLineBytes + 4];
    const qint64 got = in.readLine(buffer, sizeof buffer);
    if (got <= 0) return LineRead::End;
    line = QByteArray(buffer, int(got));
    if (line.endsWith('\n')) line.chop(1);
    if (line.endsWith('\r')) line.chop(1);
    return line.size() > ParameterFileReader::kMaxLineBytes ? LineRead::TooLong : LineRead::Line;
}

ParameterFileLoad tooLong(int line) {
    return failure(line, QStringLiteral("Строка %1 файла параметров длиннее %2 байт. Параметры не изменены.")
                             .arg(line)
                             .arg(ParameterFileReader::kMaxLineBytes));
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
        const auto v = ParameterReadRules::pointOrCommaNumber(line, sep);
        return v && store.setNumber(place, *v);
    }
    case ReadRule::Text: {
        // A stray CR left inside a text is a blank, as the writer makes it: the text
        // must come back the same after a save.
        QString text = line;
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        return store.setText(place, text);
    }
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
    QByteArray raw;
    const LineRead first = nextLine(in, raw);
    if (first == LineRead::End) return failure(1, QStringLiteral("Файл параметров пуст. Параметры не изменены."));
    if (first == LineRead::TooLong) return tooLong(1);

    ParameterStore staged = store;
    for (const auto &section : ParameterFileLayout::sections()) {
        for (int first = 0; first < section.firstCount; ++first) {
            for (int second = section.secondFrom; second <= section.secondTo; ++second) {
                ++lineNumber;
                const LineRead got = nextLine(in, raw);
                if (got == LineRead::TooLong) return tooLong(lineNumber);
                if (got == LineRead::End)
                    return failure(lineNumber,
                                   QStringLiteral("Файл параметров обрывается: нет строки %1 из %2. "
                                                  "Параметры не изменены.")
                                       .arg(lineNumber)
                                       .arg(ParameterFileLayout::kLineCount));
                const StorePlace place{section.table, section.type, first, second};
                if (!storeLine(section, place, raw, decimalSeparator, staged))
                    return failure(lineNumber, QStringLiteral("Строка %1 файла параметров не читается: \"%2\". "
                                                              "Параметры не изменены.")
                                                   .arg(lineNumber)
                                                   .arg(quoted(cp1251::decode(raw))));
            }
        }
    }
    store = staged;
    return {true, 0, QString()};
}

} // namespace z5
