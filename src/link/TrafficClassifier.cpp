#include "link/TrafficClassifier.h"
#include "link/Link.h"
#include "link/Request.h"
#include <array>

namespace z5 {
namespace {

constexpr int kCheckedFrameLength = wire::kFrameLength + wire::kCheckValueLength;

int byteAt(const QByteArray &bytes, int i) { return static_cast<std::uint8_t>(bytes[i]); }

QString blockName(int blockByte) { return QStringLiteral("U%1").arg(blockByte); }

// What a table's data block carries: its data and, for some, a leading "0".
int tableDataLength(int table) {
    const int count = Link::tableDataCount(table);
    if (count < 0) return -1;
    return carriesLeadingZero(table) ? count + 1 : count;
}

} // namespace

QString TrafficClassifier::kindName(TrafficKind kind) {
    static const std::array<QString, kTrafficKindCount> names{
        QStringLiteral("чтение блока"),      QStringLiteral("команда процесса"),
        QStringLiteral("клавиша панели"),    QStringLiteral("запрос части графика"),
        QStringLiteral("запись графика"),    QStringLiteral("заголовок таблицы"),
        QStringLiteral("данные таблицы"),    QStringLiteral("заголовок экрана"),
        QStringLiteral("данные экрана"),     QStringLiteral("ответ блока"),
        QStringLiteral("часть графика"),     QStringLiteral("байты вне обмена"),
        QStringLiteral("ошибка линии"),
    };
    const auto i = static_cast<std::size_t>(kind);
    return i < names.size() ? names[i] : QString();
}

QString TrafficClassifier::processCommandName(int code) {
    switch (code) {
    case Request::PauseProcess: return QStringLiteral("пауза");
    case Request::StartProcess: return QStringLiteral("пуск");
    case Request::ProcessPicture: return QStringLiteral("состояние процесса");
    case Request::StoreSchema: return QStringLiteral("сохранить схему");
    default: return QString();
    }
}

void TrafficClassifier::reset() {
    dataLength_ = -1;
    dataTable_ = -1;
    awaiting_ = Awaiting::Nothing;
    request_.clear();
    trendBlockByte_ = -1;
    late_ = false;
}

void TrafficClassifier::classify(TrafficRecord &record) {
    record.check = CheckState::None;
    if (record.direction == TrafficDirection::Sent)
        classifySent(record);
    else
        classifyReceived(record);
}

void TrafficClassifier::expectData(TrafficKind kind, int table, int length) {
    dataKind_ = kind;
    dataTable_ = table;
    dataLength_ = length;
}

bool TrafficClassifier::isTrendRecorder(int column) const {
    return blockTypeOf_ && column >= 0 && blockTypeOf_(column) == kTrendRecorderType;
}

void TrafficClassifier::classifySent(TrafficRecord &record) {
    const QByteArray &b = record.bytes;
    late_ = false;
    const bool looksLikeFrame = b.size() == kCheckedFrameLength &&
                                Link::checkValueOf(b, wire::kFrameLength) == (byteAt(b, 6) << 8 | byteAt(b, 7));
    if (dataLength_ >= 0 && !looksLikeFrame) {
        // The data block its header announced; a different length is worth seeing.
        record.kind = dataKind_;
        const QString place = dataKind_ == TrafficKind::ScreenData ? QStringLiteral("экран")
                                                                   : QStringLiteral("таблица %1").arg(dataTable_);
        record.what = b.size() == dataLength_
                          ? QStringLiteral("%1, данные %2 байт").arg(place).arg(b.size())
                          : QStringLiteral("%1, данные %2 байт из %3").arg(place).arg(b.size()).arg(dataLength_);
        dataLength_ = -1;
        return;
    }
    dataLength_ = -1;
    if (b.size() != kCheckedFrameLength) {
        record.kind = TrafficKind::Stray;
        record.what = QStringLiteral("неизвестные байты");
        awaiting_ = Awaiting::Nothing;
        return;
    }
    record.check = looksLikeFrame ? CheckState::Good : CheckState::Bad;
    classifyFrame(record);
}

void TrafficClassifier::classifyFrame(TrafficRecord &record) {
    const QByteArray &b = record.bytes;
    const int second = byteAt(b, 1);
    awaiting_ = Awaiting::Nothing;
    if (second == wire::kScreenFrameByte) {
        record.kind = TrafficKind::ScreenHeader;
        record.what = QStringLiteral("экран, заголовок");
        expectData(TrafficKind::ScreenData, -1, (byteAt(b, 2) << 8) | byteAt(b, 3));
    } else if (second >= wire::kFirstTableByte && second < wire::kFirstTableByte + wire::kTableCount) {
        const int table = second - wire::kFirstTableByte;
        record.kind = TrafficKind::TableHeader;
        record.what = table == tableNumber(Table::Setpoints)
                          ? QStringLiteral("таблица %1, заголовок, блок %2").arg(table).arg(blockName(byteAt(b, 5) + 1))
                          : QStringLiteral("таблица %1, заголовок").arg(table);
        expectData(TrafficKind::TableData, table, tableDataLength(table));
    } else if (second == wire::kReadFrameByte) {
        classifyRead(record, byteAt(b, 2), byteAt(b, 3), byteAt(b, 4), byteAt(b, 5));
    } else {
        record.kind = TrafficKind::Stray;
        record.what = QStringLiteral("неизвестный кадр");
    }
}

// Reads, commands and keys share one layout; the fields tell them apart: a
// command names block 0, a key puts its number where a read has 0, a recording
// start or stop asks index 0 or 1 with count 2, and the parts of a trend page
// step the index up from 10 with the page in the count.
void TrafficClassifier::classifyRead(TrafficRecord &record, int blockByte, int index, int code, int count) {
    awaiting_ = Awaiting::BlockReply;
    if (blockByte == 0) {
        record.kind = TrafficKind::ProcessCommand;
        const QString name = processCommandName(code);
        record.what = name.isEmpty() ? QStringLiteral("команда процесса %1").arg(code)
                                     : QStringLiteral("команда процесса %1 (%2)").arg(code).arg(name);
    } else if (code != 0) {
        record.kind = TrafficKind::PanelKey;
        record.what = QStringLiteral("клавиша панели %1, блок %2").arg(code).arg(blockName(blockByte));
    } else if (count == Request::kRecordingCount && index <= 1) {
        record.kind = TrafficKind::TrendRecording;
        record.what = QStringLiteral("%1 записи графика, блок %2")
                          .arg(index == 1 ? QStringLiteral("пуск") : QStringLiteral("стоп"), blockName(blockByte));
        awaiting_ = Awaiting::Nothing;
    } else if (index >= Request::kReadIndex &&
               (index > Request::kReadIndex || count != 0 || isTrendRecorder(blockByte - 1))) {
        record.kind = TrafficKind::TrendPartRequest;
        const QString page = count == 0 ? QStringLiteral("текущей страницы") : QStringLiteral("страницы %1").arg(count);
        record.what = QStringLiteral("часть %1 графика %2, блок %3").arg(index - Request::kReadIndex + 1).arg(page, blockName(blockByte));
        awaiting_ = Awaiting::TrendPart;
        trendBlockByte_ = blockByte;
    } else {
        record.kind = TrafficKind::BlockRead;
        record.what = index == Request::kReadIndex ? QStringLiteral("чтение блока %1").arg(blockName(blockByte))
                                               : QStringLiteral("чтение блока %1, индекс %2").arg(blockName(blockByte)).arg(index);
    }
    request_ = record.what;
}

void TrafficClassifier::classifyReceived(TrafficRecord &record) {
    const QByteArray &b = record.bytes;
    const int n = static_cast<int>(b.size());
    record.kind = TrafficKind::Stray;
    switch (awaiting_) {
    case Awaiting::BlockReply: {
        constexpr int whole = wire::kBlockReplyLength;
        awaiting_ = Awaiting::Nothing;
        if (n < whole) {
            record.what = QStringLiteral("неполный ответ: %1 из %2 байт").arg(n).arg(whole);
            return;
        }
        record.kind = TrafficKind::BlockReply;
        const int carried = byteAt(b, whole - 2) | (byteAt(b, whole - 1) << 8);
        record.check = Link::checkValueOf(b, wire::kBlockReplyDataLength) == carried ? CheckState::Good
                                                                                              : CheckState::Bad;
        record.what = (late_ ? QStringLiteral("поздний ответ: ") : QStringLiteral("ответ: ")) + request_;
        if (n > whole) record.what += QStringLiteral(", ещё %1 байт").arg(n - whole);
        return;
    }
    case Awaiting::TrendPart: {
        constexpr int whole = wire::kTrendPartLength;
        // The next part is asked for whether or not this one came, so the
        // awaiting state stays until another request replaces it.
        if (n < whole) {
            record.what = QStringLiteral("неполная часть графика: %1 из %2 байт").arg(n).arg(whole);
            return;
        }
        record.kind = TrafficKind::TrendPart;
        // Byte 3 of a part holds its page number minus 1.
        record.what = QStringLiteral("%1 графика, страница %2, блок %3")
                          .arg(late_ ? QStringLiteral("поздняя часть") : QStringLiteral("часть"))
                          .arg(byteAt(b, 2) + 1)
                          .arg(blockName(trendBlockByte_));
        if (n > whole) record.what += QStringLiteral(", ещё %1 байт").arg(n - whole);
        return;
    }
    case Awaiting::Nothing:
        record.what = QStringLiteral("байты вне обмена");
        return;
    }
}

} // namespace z5
