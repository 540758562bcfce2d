#pragma once
// Texts in a fixed room keep the widget's own font at the largest size with which they fit.

#include <QFont>

#include <functional>

namespace plotwell::platform {

// `base` at the largest pixel size, from its own down to `smallestPixelSize`, for which
// `fits` holds; the smallest when none does.
QFont largestFittingFont(const QFont& base, int smallestPixelSize,
                         const std::function<bool(const QFont&)>& fits);

} // namespace plotwell::platform
