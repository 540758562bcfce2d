#include "platform/posix/folders.h"

#include "platform/posix/environment.h"

#include <filesystem>
#include <system_error>

namespace plotwell::platform {

namespace {
std::string homeDir() {
    return environmentOr("HOME", "/");
}
} // namespace

std::string configDir() {
    return environmentOr("XDG_CONFIG_HOME", joinPath(homeDir(), ".config"));
}

std::string documentsDir() {
    return joinPath(homeDir(), "Documents");
}

std::string currentDir() {
    std::error_code ec;
    auto p = std::filesystem::current_path(ec);
    return ec ? std::string() : p.string();
}

bool ensureDir(const std::string& dir) {
    if (dir.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return std::filesystem::is_directory(dir, ec);
}

bool ensureParentDir(const std::string& file) {
    auto parent = std::filesystem::path(file).parent_path();
    return parent.empty() || ensureDir(parent.string());
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty())
        return name;
    if (dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

std::string fileNameOnly(const std::string& path) {
    auto pos = path.find_last_of('/');
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

} // namespace plotwell::platform
