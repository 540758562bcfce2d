#include "platform/posix/dynamic_library.h"

#include <dlfcn.h>

#include <utility>

namespace plotwell::platform {

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)),
      error_(std::move(other.error_)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool DynamicLibrary::open(const std::string& path) {
    close();
    path_ = path;
    error_.clear();
    // RTLD_LOCAL keeps the driver's names out of the global scope, so two drivers that
    // share entry-point names cannot shadow each other.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* e = dlerror();
        error_ = e ? e : "dlopen failed";
        return false;
    }
    return true;
}

void* DynamicLibrary::symbol(const char* name) const {
    if (!handle_)
        return nullptr;
    dlerror();
    return dlsym(handle_, name);
}

void DynamicLibrary::close() {
    if (handle_) {
        dlclose(handle_);
        handle_ = nullptr;
    }
}

} // namespace plotwell::platform
