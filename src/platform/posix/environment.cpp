#include "platform/posix/environment.h"

#include <cstdlib>

namespace plotwell::platform {

std::string environmentOr(const char* variable, const std::string& fallback) {
    const char* v = std::getenv(variable);
    return v && *v ? std::string(v) : fallback;
}

} // namespace plotwell::platform
