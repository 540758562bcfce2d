#pragma once
// A shared library opened at run time (dlopen/dlsym/dlclose). The handle is released
// when the object goes, so a failed half-load never stays in memory.

#include <string>

namespace plotwell::platform {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary() { close(); }
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Opens `path` with every symbol bound at once; false (and error() set) on failure.
    bool open(const std::string& path);
    bool isOpen() const { return handle_ != nullptr; }
    // Address of a function or data symbol, or null when the library lacks it.
    void* symbol(const char* name) const;
    template <typename T> T function(const char* name) const { return reinterpret_cast<T>(symbol(name)); }
    void close();
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string path_;
    std::string error_;
};

} // namespace plotwell::platform
