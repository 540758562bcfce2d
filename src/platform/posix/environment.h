#pragma once
// Settings that come from the process environment. Only the forms and the platform layer
// read it; the cores are given the values.

#include <string>

namespace plotwell::platform {

// The variable's value when it is set and not empty, else `fallback`.
std::string environmentOr(const char* variable, const std::string& fallback);

} // namespace plotwell::platform
