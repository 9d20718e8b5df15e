#include "parfile/ParameterFileWriter.h"
#include "model/Cp1251.h"
#include "model/ParameterStore.h"
#include "parfile/ParameterFileLayout.h"
#include "parfile/ParameterPrintRule.h"

namespace z5 {
namespace {

const char kLineEnd[] = "\r\n";

// A line break inside a text would shift every later line of the file.
QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

QByteArray ParameterFileWriter::write(const ParameterStore &store, QChar decimalSeparator) {
    QByteArray out;
    out.reserve(ParameterFileLayout::kLineCount * 12);
    out += cp1251::encode(ParameterFileLayout::header());
    out += kLineEnd;
    for (const auto &section : ParameterFileLayout::sections()) {
        for (int first = 0; first < section.firstCount; ++first) {
            for (int second = section.secondFrom; second <= section.secondTo; ++second) {
                const StorePlace place{section.table, section.type, first, second};
                switch (section.rule) {
                case ReadRule::Locale:
                case ReadRule::Leading:
                    out += cp1251::encode(ParameterPrintRule::number(store.number(place), decimalSeparator));
                    break;
                case ReadRule::Text:
                    out += cp1251::encode(oneLine(store.text(place)));
                    break;
                case ReadRule::Byte:
                    out += ParameterPrintRule::byte(store.byte(place)).toLatin1();
                    break;
                }
                out += kLineEnd;
            }
        }
    }
    return out;
}

} // namespace z5
