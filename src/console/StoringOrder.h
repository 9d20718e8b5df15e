#pragma once
#include <vector>

namespace z5 {

// Which text fields an edit of row `editedRow` converts and stores, in order.
// Some types store only the edited field, others all their fields each time;
// the first field that does not convert ends the storing.
class StoringOrder {
public:
    static std::vector<int> rowsFor(int type, int editedRow);
};

} // namespace z5
