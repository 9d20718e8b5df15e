#include "import/LinkTableBuilder.h"
#include "import/NetlistFault.h"
#include "model/BlockCatalogue.h"
#include <QHash>
#include <algorithm>

namespace z5 {

LinkTableBuilder::LinkTableBuilder(Project &project, std::vector<NetlistLine> lines) : project_(project) {
    // Parts that are neither blocks (U) nor inverters (D) have no place in the tables:
    // their pins are left out of the nets instead of being read as pins of block U<n>.
    lines_.reserve(lines.size() + 1);
    for (NetlistLine &line : lines)
        if (!line.isNode() || line.letter == u'U' || line.letter == u'D') lines_.push_back(std::move(line));
    // The walks look one line past the last stored one, which is always empty.
    lines_.push_back(NetlistLine());
}

QString LinkTableBuilder::build() {
    QString fault = checkNodes();
    if (fault.isEmpty()) fault = putDriversFirst();
    if (fault.isEmpty()) fault = setInversionBits();
    if (!fault.isEmpty()) return fault;
    removeInverters();
    return storeLinks();
}

QString LinkTableBuilder::checkNodes() const {
    for (const NetlistLine &line : lines_) {
        if (!line.isNode()) continue;
        if (line.number < 1 || line.number > Project::kColumns)
            return NetlistFault::atLine(line.fileLine,
                                        QStringLiteral("обозначение %1 вне 1..100").arg(line.designator));
        if (line.letter == u'D' && line.pin != 1 && line.pin != 2)
            return NetlistFault::atLine(line.fileLine,
                                        QStringLiteral("у инвертора %1 нет вывода %2").arg(line.designator).arg(line.pin));
    }
    return QString();
}

QString LinkTableBuilder::classify(const NetlistLine &node, bool &isInput) const {
    if (node.letter == u'D') {  // an inverter input
        isInput = true;
        return QString();
    }
    const int type = project_.blockType(node.number - 1);
    const int pin = node.pin;
    if (type != 0 && type != BlockType::SCA) {
        isInput = BlockCatalogue::isInputPin(type, pin);
        return QString();
    }
    // Screen pins come in pages of 34, the last two of each page being outputs.
    const int page = (pin - 1) / 34;
    if (page < 0 || page > 3)
        return NetlistFault::atLine(node.fileLine,
                                    QStringLiteral("вывод %1 блока %2 вне 1..136").arg(pin).arg(node.designator));
    const auto &outputs = BlockCatalogue::scadaPinOut();
    isInput = pin != outputs[2 * page] && pin != outputs[2 * page + 1];
    return QString();
}

QString LinkTableBuilder::putDriversFirst() {
    int run = 0;  // consecutive inputs just before this line
    for (std::size_t j = 1; j < lines_.size(); ++j) {
        const NetlistLine &line = lines_[j];
        if (!line.isNode()) {
            run = 0;
        } else if (line.letter == u'U' || line.pin == 1) {
            bool isInput = false;
            const QString fault = classify(line, isInput);
            if (!fault.isEmpty()) return fault;
            if (isInput) {
                ++run;
            } else {
                std::swap(lines_[j], lines_[j - run]);
                run = 0;
            }
        } else {
            // An inverter output drives its net: move it to the front of the net's nodes,
            // wherever it stands, so that every input it feeds follows it.
            run = 0;
            std::size_t first = j;
            while (first > 0 && lines_[first - 1].isNode()) --first;
            std::rotate(lines_.begin() + first, lines_.begin() + j, lines_.begin() + j + 1);
        }
    }
    return QString();
}

QString LinkTableBuilder::setInversionBits() {
    std::uint32_t journalMask = 0;  // becomes Project::journalInvertMask
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const NetlistLine &inverter = lines_[i];
        if (!inverter.isInverterNode() || inverter.pin != 2) continue;
        // Every input the inverter output feeds receives the inversion, not only the first.
        for (std::size_t k = i + 1; isNodeAt(k); ++k) {
            const NetlistLine &input = lines_[k];
            if (input.letter == u'D')
                return NetlistFault::atLine(input.fileLine, QStringLiteral("выход инвертора %1 подключён к инвертору %2")
                                                                .arg(inverter.designator, input.designator));
            const int column = input.number - 1;
            const int bit = input.pin - 1;
            const bool journal = project_.blockType(column) == BlockType::JUR;
            const int lastBit = journal ? 30 : 7;  // a signed 32-bit mask, or a byte
            if (bit < 0 || bit > lastBit)
                return NetlistFault::atLine(input.fileLine, QStringLiteral("инвертор %1 на входе %2 блока %3 (допустимы входы 1..%4)")
                                                                .arg(inverter.designator)
                                                                .arg(input.pin)
                                                                .arg(input.designator)
                                                                .arg(lastBit + 1));
            if (journal) {
                journalMask |= 1u << bit;
                project_.setJournalInvertMask(static_cast<std::int32_t>(journalMask));
            } else {
                const int mask = project_.schema(Project::InversionRow, column) | (1 << bit);
                project_.setSchema(Project::InversionRow, column, static_cast<std::uint8_t>(mask));
            }
        }
    }
    return QString();
}

void LinkTableBuilder::removeInverters() {
    // An inverter output leading its net takes the inputs it feeds out of that net; they
    // are put in place of the inverter's input in the net that feeds it, so they join the
    // feeding net and their inversion bits say the value arrives inverted.
    std::vector<bool> removed(lines_.size(), false);
    QHash<QString, std::vector<NetlistLine>> fedInputs;
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        const NetlistLine &line = lines_[i];
        if (!line.isInverterNode() || line.pin != 2 || lines_[i - 1].isNode()) continue;
        removed[i] = true;
        std::vector<NetlistLine> inputs;
        for (std::size_t k = i + 1; isNodeAt(k); ++k) {
            inputs.push_back(lines_[k]);
            removed[k] = true;
        }
        if (!fedInputs.contains(line.designator)) fedInputs.insert(line.designator, std::move(inputs));
    }
    if (fedInputs.isEmpty()) return;

    std::vector<NetlistLine> result;
    result.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const NetlistLine &line = lines_[i];
        if (removed[i]) {
            result.push_back(NetlistLine::invertorMark(line.fileLine));
            continue;
        }
        if (line.isInverterNode() && line.pin == 1 && i > 0 && lines_[i - 1].isNode()) {
            const auto fed = fedInputs.constFind(line.designator);
            if (fed != fedInputs.cend()) {
                result.insert(result.end(), fed->begin(), fed->end());
                continue;
            }
        }
        result.push_back(line);
    }
    lines_ = std::move(result);
}

QString LinkTableBuilder::storeLinks() {
    const NetlistLine *source = nullptr;  // the driver of the current net
    int sourceIndex = 0;
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        const NetlistLine &line = lines_[i];
        const NetlistLine &previous = lines_[i - 1];
        if (line.kind == NetlistLine::NetStart) source = nullptr;
        if (!line.isNode()) continue;
        if (previous.kind == NetlistLine::NetStart) {
            // The first node is the driver when it is a block output; a net without one
            // drives nothing.
            source = nullptr;
            bool isInput = true;
            if (line.isBlockNode()) {
                const QString fault = classify(line, isInput);
                if (!fault.isEmpty()) return fault;
            }
            if (!isInput) {
                const int type = project_.blockType(line.number - 1);
                sourceIndex = type == 0 ? line.pin - 1 : BlockCatalogue::outputIndex(type, line.pin);
                source = &line;
            }
        } else if (previous.isNode() && source && line.isBlockNode()) {
            if (sourceIndex < 0 || sourceIndex > 255)
                return NetlistFault::atLine(source->fileLine, QStringLiteral("выход %1 блока %2 вне 0..255")
                                                                  .arg(sourceIndex)
                                                                  .arg(source->designator));
            const QString fault = storeInput(line, sourceIndex, source->number + 1);
            if (!fault.isEmpty()) return fault;
        }
    }
    return QString();
}

QString LinkTableBuilder::storeInput(const NetlistLine &node, int sourceIndex, int sourceNumberPlus1) {
    const int column = node.number - 1;
    const int type = project_.blockType(column);
    const int pin = node.pin;
    const auto beyond = [&] {
        return NetlistFault::atLine(node.fileLine,
                                    QStringLiteral("вход %1 блока %2 вне таблицы связей").arg(pin).arg(node.designator));
    };
    const int element = 2 * (pin - 1);
    switch (type) {
    case BlockType::GRA:
        if (pin < 1 || pin > 32) return beyond();
        project_.setTrendLink(element, sourceIndex);
        project_.setTrendLink(element + 1, sourceNumberPlus1);
        break;
    case BlockType::JUR:
        if (pin < 1 || pin > 32) return beyond();
        project_.setJournalLink(element, sourceIndex);
        project_.setJournalLink(element + 1, sourceNumberPlus1);
        break;
    case BlockType::SCA: {
        const int page = BlockCatalogue::scadaInputPage(pin);
        const int slot = BlockCatalogue::scadaInputSlot(pin);
        if (pin < 1 || page > 7 || slot < 0 || slot > 31) return beyond();
        project_.setScadaLink(page, 2 * slot, sourceIndex);
        project_.setScadaLink(page, 2 * slot + 1, sourceNumberPlus1);
        break;
    }
    default:
        if (pin < 1 || pin > 8) return beyond();
        project_.setLink(column, element, sourceIndex);
        project_.setLink(column, element + 1, sourceNumberPlus1);
        break;
    }
    return QString();
}

} // namespace z5
