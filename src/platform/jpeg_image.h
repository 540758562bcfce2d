#pragma once
#include <QImage>

#include <cstddef>

namespace plotwell::platform {

// Decodes a JPEG held in memory with libjpeg. A null image when the data are not a JPEG.
QImage decodeJpeg(const unsigned char* data, std::size_t size);

} // namespace plotwell::platform
