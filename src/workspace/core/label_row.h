#pragma once
// A row of labels along a panel (the frame's status lines): each at its own place, pushed
// right by a wide label before it, and packed together when the places leave no room.

#include <optional>
#include <vector>

namespace plotwell::workspace {

// Left edges for labels of `widths` that stand at `places` unless the label before reaches
// too far; each keeps `gap` pixels from the one before. When that runs past `width`, the
// labels are packed from the first place on. Empty when even packed they do not fit.
std::optional<std::vector<int>> placeLabelRow(const std::vector<int>& widths, const std::vector<int>& places,
                                              int gap, int width);

} // namespace plotwell::workspace
