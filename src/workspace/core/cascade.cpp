#include "workspace/core/cascade.h"

#include <algorithm>

namespace plotwell::workspace {

WindowPlace cascadePlace(int index, int width, int height, int areaWidth, int areaHeight, int step) {
    const int maxX = std::max(0, areaWidth - width);
    const int maxY = std::max(0, areaHeight - height);
    if (step < 1 || index < 0)
        return {};
    const int runLength = 1 + std::min(maxX / step, maxY / step);
    const int run = index / runLength;
    const int j = index % runLength;
    // What is left of the width once the longest run is laid out moves each run along.
    const int slack = maxX - (runLength - 1) * step;
    const int shift = slack > 0 ? (run * step) % (slack + 1) : 0;
    return {j * step + shift, j * step};
}

} // namespace plotwell::workspace
