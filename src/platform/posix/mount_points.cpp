#include "platform/posix/mount_points.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotwell::platform {

namespace {

void addWritableFolders(const std::string& place, std::vector<std::string>& out) {
    DIR* dir = ::opendir(place.c_str());
    if (!dir)
        return;
    std::vector<std::string> found;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = place;
        path.append("/").append(name);
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(path.c_str(), W_OK) == 0)
            found.push_back(path);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    for (auto& f : found)
        if (std::find(out.begin(), out.end(), f) == out.end())
            out.push_back(f);
}

} // namespace

std::vector<std::string> listMountFolders() {
    std::vector<std::string> out;
    const char* user = std::getenv("USER");
    if (user && *user) {
        addWritableFolders(std::string("/media/") + user, out);
        addWritableFolders(std::string("/run/media/") + user, out);
    }
    addWritableFolders("/mnt", out);
    return out;
}

} // namespace plotwell::platform
