#include "workspace/core/label_row.h"

#include <algorithm>
#include <cassert>

namespace plotwell::workspace {

std::optional<std::vector<int>> placeLabelRow(const std::vector<int>& widths, const std::vector<int>& places,
                                              int gap, int width) {
    assert(widths.size() == places.size());
    for (const bool keepPlaces : {true, false}) {
        std::vector<int> xs;
        int right = 0;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const int x = i == 0 ? places[0] : (keepPlaces ? std::max(places[i], right + gap) : right + gap);
            xs.push_back(x);
            right = x + widths[i];
        }
        if (right <= width)
            return xs;
    }
    return std::nullopt;
}

} // namespace plotwell::workspace
