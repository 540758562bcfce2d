#include "workspace/core/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotwell::workspace {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= std::size_t(n);
    }
    return true;
}

// Writes `bytes` to a new temporary file beside `target`; returns its path or "" on failure.
std::string writeTemporary(const std::string& target, std::string_view bytes) {
    std::string name = folderOf(target) + "/.plotwell-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return {};
    // Keep the target's permissions when it exists, else the usual ones for a new file.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok) {
        ::unlink(name.c_str());
        return {};
    }
    return name;
}

} // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0)
        bytes.reserve(std::size_t(st.st_size));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buf, std::size_t(n));
    }
    ::close(fd);
    return true;
}

bool WriteFilesReplacing(const std::vector<std::pair<std::string, std::string_view>>& files) {
    std::vector<std::string> temps;
    for (const auto& [path, bytes] : files) {
        std::string t = path.empty() ? std::string() : writeTemporary(path, bytes);
        if (t.empty()) {
            for (const auto& done : temps)
                ::unlink(done.c_str());
            return false;
        }
        temps.push_back(std::move(t));
    }
    bool ok = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!ok || ::rename(temps[i].c_str(), files[i].first.c_str()) != 0) {
            ::unlink(temps[i].c_str());
            ok = false;
        }
    }
    return ok;
}

} // namespace plotwell::workspace
