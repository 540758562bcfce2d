#include "platform/posix/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotwell::platform {

std::optional<std::string> readFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string out;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        out.reserve(std::size_t(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            out.append(chunk, std::size_t(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return out;
}

namespace {
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// The permissions a newly created file gets from the process's umask.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeFilesAtomically({{path, bytes}});
}

namespace {
// Writes `bytes` to a new temporary file beside `path`; its name, or "" on failure.
std::string writeTemporary(const std::string& path, std::string_view bytes) {
    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return {};
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : newFileMode();
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(tmp.c_str());
        return {};
    }
    return tmp;
}
} // namespace

namespace {
// The file a write to `path` replaces: the file a symbolic link points to (so the link
// stays), else `path` itself.
std::string replacedFile(const std::string& path) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string r = real;
        std::free(real);
        return r;
    }
    return path;
}
} // namespace

bool writeFilesAtomically(const std::vector<std::pair<std::string, std::string_view>>& files) {
    std::vector<std::string> targets;
    for (const auto& f : files) {
        struct stat st {};
        if (f.first.empty())
            return false;
        targets.push_back(replacedFile(f.first));
        const std::string& t = targets.back();
        // A folder, or a file the user may not write (write-protected), is not replaced.
        if (::stat(t.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || ::access(t.c_str(), W_OK) != 0))
            return false;
    }
    std::vector<std::string> temps;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string tmp = writeTemporary(targets[i], files[i].second);
        if (tmp.empty()) {
            for (const auto& t : temps)
                ::unlink(t.c_str());
            return false;
        }
        temps.push_back(std::move(tmp));
    }
    bool ok = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!ok || std::rename(temps[i].c_str(), targets[i].c_str()) != 0) {
            ::unlink(temps[i].c_str());
            ok = false;
        }
    }
    return ok;
}

} // namespace plotwell::platform
