#pragma once
// The system clipboard as the program uses it: one text read for a paste, and one copy that
// puts text, a vector picture and an image on the clipboard together.

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <string>

namespace plotwell::platform {

// The clipboard's text, at most `maxChars` characters, one byte each (characters outside
// Latin-1 become '?'; numbers are plain ASCII).
std::string clipboardText(std::size_t maxChars);

// Replaces the clipboard's contents by `text` (text/plain), `svg` (image/svg+xml) and `image`.
void setClipboard(const std::string& text, const QByteArray& svg, const QImage& image);

inline constexpr const char* kSvgMimeType = "image/svg+xml";

} // namespace plotwell::platform
