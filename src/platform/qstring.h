#pragma once
// The one conversion of the core's std::string texts into Qt's QString. Texts kept in a
// std::string are UTF-8: file names as the system gives them, messages, settings and
// project texts. (The way back is QString::toStdString, which is UTF-8 too.) The
// expression line, handed over one byte per character, is the exception and converts as
// Latin-1 where it does so.

#include <QString>

#include <string_view>

namespace plotwell::platform {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace plotwell::platform
