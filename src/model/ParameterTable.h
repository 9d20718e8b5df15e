#pragma once
#include <QString>
#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

namespace z5 {

// One table of the parameter store: slots x rows elements of T, shape fixed at
// construction. One-index tables have a single slot. Every access is checked:
// reads outside the shape give T{}, writes outside it are refused.
template <typename T>
class ParameterTable {
public:
    ParameterTable() = default;
    ParameterTable(QString name, int slotCount, int rowCount)
        : name_(std::move(name)), slotCount_(slotCount), rowCount_(rowCount),
          data_(static_cast<std::size_t>(slotCount) * static_cast<std::size_t>(rowCount)) {}

    const QString &name() const { return name_; }
    int slotCount() const { return slotCount_; }
    int rowCount() const { return rowCount_; }
    bool contains(int slot, int row) const { return slot >= 0 && slot < slotCount_ && row >= 0 && row < rowCount_; }

    T value(int slot, int row) const { return contains(slot, row) ? data_[index(slot, row)] : T{}; }
    // Refuses places outside the shape, and numbers that are not finite (no file
    // or wire form can carry them).
    bool setValue(int slot, int row, const T &v) {
        if (!contains(slot, row)) return false;
        if constexpr (std::is_floating_point_v<T>) {
            if (!std::isfinite(v)) return false;
        }
        data_[index(slot, row)] = v;
        return true;
    }
    // One-index tables: element i is slot 0, row i.
    T element(int i) const { return value(0, i); }
    bool setElement(int i, const T &v) { return setValue(0, i, v); }

    void clear() { std::fill(data_.begin(), data_.end(), T{}); }

    bool operator==(const ParameterTable &o) const {
        return slotCount_ == o.slotCount_ && rowCount_ == o.rowCount_ && data_ == o.data_;
    }
    bool operator!=(const ParameterTable &o) const { return !(*this == o); }

private:
    std::size_t index(int slot, int row) const {
        return static_cast<std::size_t>(slot) * static_cast<std::size_t>(rowCount_) + static_cast<std::size_t>(row);
    }

    QString name_;
    int slotCount_ = 0;
    int rowCount_ = 0;
    std::vector<T> data_;
};

} // namespace z5
