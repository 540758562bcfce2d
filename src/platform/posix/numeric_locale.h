#pragma once
#include <clocale>

namespace plotwell::platform {

// Numbers are always written and read with '.', whatever the user's locale.
// Call right after the QApplication exists (it sets the locale from the environment).
inline void useCNumericLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace plotwell::platform
