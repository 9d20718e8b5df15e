#include "import/BlockTableBuilder.h"
#include "import/ColumnText.h"
#include "import/NetlistFault.h"
#include "model/BlockCatalogue.h"

namespace z5 {
namespace {

// Text from column `col` up to the closing quote: the whole designator as written.
QString quotedFrom(QStringView text, int col) {
    const QStringView rest = columns::mid(text, col, int(text.size()));
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != u'"' && rest[end] != u' ' && rest[end] != u'\t') ++end;
    return rest.first(end).toString();
}

QString number(int n) { return QString::number(n); }

} // namespace

QString BlockTableBuilder::collectComponents(const std::vector<NetlistLine> &lines) {
    auto &records = project_.components();
    const int valueLength = mode_ == Numbering::Auto ? 2 : 5;
    int n = 0;  // record being filled
    for (const NetlistLine &line : lines) {
        if (line.kind != NetlistLine::CompInst && line.kind != NetlistLine::OriginalName &&
            line.kind != NetlistLine::CompVal)
            continue;
        const QStringView t(line.text);
        if (line.kind == NetlistLine::OriginalName && columns::mid(t, 16, 3) == u"INV") continue;
        if (n >= Project::kColumns)
            return NetlistFault::atLine(line.fileLine,
                                        QStringLiteral("больше %1 компонентов").arg(Project::kColumns));
        switch (line.kind) {
        case NetlistLine::CompInst:
            records[n].designator = columns::mid(t, 12, 3).toString();
            fullDesignator_[n] = quotedFrom(t, 12);
            recordLine_[n] = line.fileLine;
            break;
        case NetlistLine::OriginalName:
            records[n].mnemonic = columns::mid(t, 16, 3).toString();
            break;
        default:
            records[n].value = columns::mid(t, 13, valueLength).toString();
            if (recordLine_[n] == 0) recordLine_[n] = line.fileLine;
            ++n;
            break;
        }
    }
    return QString();
}

QString BlockTableBuilder::buildBlocks() {
    for (int record = 0; record < Project::kColumns; ++record) {
        const QString fault = buildBlock(record);
        if (!fault.isEmpty()) return fault;
    }
    return QString();
}

QString BlockTableBuilder::buildBlock(int record) {
    const ComponentRecord &rec = project_.components()[record];
    const int type = BlockCatalogue::typeByMnemonic(rec.mnemonic);
    if (!BlockCatalogue::isBlockType(type)) return QString();

    const int q = columns::intValue(columns::right(rec.designator, 2));
    // The block column comes from the last two characters of the designator; the whole
    // designator must agree, so that U0, U100 or U123 never land in a wrong column.
    const QString &full = fullDesignator_[record];
    const int fullNumber = full.size() > 1 ? columns::intValue(QStringView(full).mid(1)) : 0;
    if (full.isEmpty() || full[0] != u'U' || fullNumber < 1 || fullNumber >= Project::kColumns || fullNumber != q)
        return NetlistFault::atLine(recordLine_[record],
                                    QStringLiteral("обозначение блока %1 вне U1..U99")
                                        .arg(full.isEmpty() ? rec.designator : full));
    const int column = q - 1;
    project_.setSchema(Project::TypeRow, column, static_cast<std::uint8_t>(type));
    columnLine_[column] = recordLine_[record];
    return assignNumbers(record, column, type, q);
}

QString BlockTableBuilder::assignNumbers(int record, int column, int type, int q) {
    const QString &value = project_.components()[record].value;
    const int line = recordLine_[record];
    const QString block = QStringLiteral(" блок U") + number(q);

    int instance;
    int priority;
    if (mode_ == Numbering::Auto) {
        instance = project_.instanceCounter(type) + 1;
        priority = columns::intValue(columns::right(value, 2));
    } else {
        // "5_3" or "12_10": the instance follows the underscore.
        const bool oneDigitPriority = value.size() >= 2 && value[1] == u'_';
        instance = columns::intValue(columns::mid(value, oneDigitPriority ? 3 : 4, 2));
        priority = columns::intValue(value);
    }
    if (instance < 0 || instance > 255)
        return NetlistFault::atLine(line, QStringLiteral("№ экземпляра %1 блока U%2 вне 1..255").arg(instance).arg(q));
    project_.setInstanceCounter(type, instance);
    project_.setSchema(Project::InstanceRow, column, static_cast<std::uint8_t>(instance));
    if (priority < 0 || priority > 255)
        return NetlistFault::atLine(line, QStringLiteral("приоритет %1 блока U%2 вне 1..99").arg(priority).arg(q));
    project_.setSchema(Project::PriorityRow, column, static_cast<std::uint8_t>(priority));

    if (type == BlockType::S_P && instance > 12) return QStringLiteral("№ экземпляра больше 12") + block;
    if (type != BlockType::S_P && instance > 8) return QStringLiteral("№ экземпляра больше 8") + block;

    for (int k = 0; k < Project::kColumns; ++k) {
        if (k == column) continue;
        if (mode_ == Numbering::Manual) {
            if (instance == 0) return QStringLiteral("Не верный № экземпляра ") + block;
            if (project_.instance(k) == instance && project_.blockType(k) == type)
                return QStringLiteral("Одинаковые номера экземпляров ") + number(project_.instance(k)) +
                       QStringLiteral(" блоков U") + number(q) + QStringLiteral(" и U") + number(k + 1);
        }
        if (project_.priority(k) == priority)
            return QStringLiteral("Одинаковые номера приоритета ") + number(project_.priority(k)) +
                   QStringLiteral(" блоков U") + number(q) + QStringLiteral(" и U") + number(k + 1);
    }
    return QString();
}

QString BlockTableBuilder::buildPriorityOrder() {
    // The order row has one entry per priority 0..99.
    for (int c = 0; c < Project::kColumns; ++c)
        if (project_.priority(c) >= Project::kColumns)
            return NetlistFault::atLine(columnLine_[c], QStringLiteral("приоритет %1 блока U%2 вне 1..99")
                                                             .arg(project_.priority(c))
                                                             .arg(c + 1));
    project_.rebuildPriorityOrder();
    return QString();
}

} // namespace z5
