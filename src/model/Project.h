#pragma once
#include <QString>
#include <array>
#include <cstdint>

namespace z5 {

// One entry of the component list the import fills in netlist order.
struct ComponentRecord {
    QString designator = QStringLiteral("0");
    QString mnemonic = QStringLiteral("0");
    QString value = QStringLiteral("0");
};

// The in-memory project: block table, priority order, inversion masks and the
// four link tables. One project at a time; an import rebuilds it.
class Project {
public:
    static constexpr int kColumns = 100;
    static constexpr int kTypeCounters = 37;

    // Rows of the block schema.
    enum Row { TypeRow = 0, InstanceRow = 1, PriorityRow = 2, OrderRow = 3, InversionRow = 4 };

    Project();
    void reset();
    bool isEmpty() const;

    // Checked access to the block schema; out-of-range reads give 0, writes are ignored.
    std::uint8_t schema(int row, int column) const;
    void setSchema(int row, int column, std::uint8_t value);
    int blockType(int column) const { return schema(TypeRow, column); }
    int instance(int column) const { return schema(InstanceRow, column); }
    int priority(int column) const { return schema(PriorityRow, column); }
    bool hasBlock(int column) const { return blockType(column) != 0; }
    int blockCount() const;
    // First column holding a block of this type, or -1.
    int columnOfType(int type) const;
    int columnOf(int type, int instance) const;

    // Rebuilds row 3 (priority order) from the priorities.
    void rebuildPriorityOrder();

    // Link pairs are (source output index, source block number + 1); (0, 0) = unconnected.
    int link(int column, int element) const;
    void setLink(int column, int element, int value);
    int trendLink(int element) const;
    void setTrendLink(int element, int value);
    int journalLink(int element) const;
    void setJournalLink(int element, int value);
    int scadaLink(int page, int element) const;
    void setScadaLink(int page, int element, int value);

    std::int32_t journalInvertMask() const { return journalInvertMask_; }
    void setJournalInvertMask(std::int32_t mask);

    int instanceCounter(int type) const;
    void setInstanceCounter(int type, int value);

    std::array<ComponentRecord, kColumns> &components() { return components_; }
    const std::array<ComponentRecord, kColumns> &components() const { return components_; }

    bool operator==(const Project &other) const;

private:
    std::array<std::array<std::uint8_t, kColumns>, 5> blockSchema_{};            // rows Row, one column per block
    std::array<std::array<int, kColumns>, 16> blockLinkSchema_{};                // [element][column]
    std::array<std::uint8_t, 65> trendLinks_{};                       // inputs of the trend recorder
    std::array<int, 69> journalLinks_{};                                // inputs of the journal, then its mask bytes
    std::array<std::array<int, 68>, 8> screenLinks_{};                  // [page][element], inputs of the screen block
    std::int32_t journalInvertMask_ = 0;                                             // bit p-1: journal input p inverted
    std::array<std::uint8_t, kTypeCounters> instanceCounters_{};                         // last instance number per type code
    std::array<ComponentRecord, kColumns> components_;                           // in netlist order
};

} // namespace z5
