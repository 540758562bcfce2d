#include "platform/font_fit.h"

#include <QFontInfo>

#include <algorithm>

namespace plotwell::platform {

QFont largestFittingFont(const QFont& base, int smallestPixelSize,
                         const std::function<bool(const QFont&)>& fits) {
    QFont f = base;
    int size = std::max(QFontInfo(base).pixelSize(), smallestPixelSize);
    f.setPixelSize(size);
    while (size > smallestPixelSize && !fits(f))
        f.setPixelSize(--size);
    return f;
}

} // namespace plotwell::platform
