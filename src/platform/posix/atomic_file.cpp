#include "platform/posix/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plotwell::platform {

namespace {

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    Fd& operator=(Fd&& o) noexcept {
        std::swap(fd_, o.fd_);
        return *this;
    }
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, reporting a failed close (a write that did not reach the disk).
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

} // namespace

std::optional<std::string> readFileBytes(const std::string& path, std::int64_t maxBytes) {
    // Opening without blocking: a FIFO would otherwise wait for a writer for ever. Only a
    // regular file is read, so neither a FIFO nor a device (/dev/zero) ever is.
    const Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes)
        return std::nullopt;
    std::string out;
    out.reserve(std::size_t(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n > 0) {
            // A file that grows while it is read is held to the same limit.
            if (std::int64_t(out.size()) + n > maxBytes)
                return std::nullopt;
            out.append(chunk, std::size_t(n));
        } else if (n == 0) {
            return out;
        } else if (errno != EINTR) {
            return std::nullopt;
        }
    }
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

// Temporary files are ".pw~" and six letters or digits, whatever the target is called:
// "<target>.XXXXXX" would not fit beside a name of 249 bytes or more.
constexpr std::string_view kTempPrefix = ".pw~";
constexpr std::size_t kTempNameLength = kTempPrefix.size() + 6;

bool isTempName(std::string_view name) {
    return name.size() == kTempNameLength && name.substr(0, kTempPrefix.size()) == kTempPrefix;
}

std::string randomTempName() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 gen{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string name(kTempPrefix);
    for (std::size_t i = kTempPrefix.size(); i < kTempNameLength; ++i)
        name += kChars[pick(gen)];
    return name;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

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

// One file of a save on its way to its target.
struct Pending {
    std::string target;
    std::string folder;
    bool targetExisted = false;
    Fd fd;
    std::string temp;      // the temporary file's path once it has a name
    std::string displaced; // where the replaced file went, until the save is complete
};

// Opens the temporary file for `p`: unnamed where the filesystem allows, so that a save
// killed while writing leaves nothing behind; else a short named one. It is locked while
// this save owns it, so that another save's clean-up passes it over.
bool openTemporary(Pending& p, mode_t mode) {
    p.fd = Fd(::open(p.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (p.fd.get() < 0) {
        std::string tmpl = p.folder + "/" + std::string(kTempPrefix) + "XXXXXX";
        p.fd = Fd(::mkostemp(tmpl.data(), O_CLOEXEC));
        if (p.fd.get() < 0)
            return false;
        p.temp = std::move(tmpl);
    }
    return ::flock(p.fd.get(), LOCK_EX) == 0 && ::fchmod(p.fd.get(), mode) == 0;
}

// Gives the file `link` links (to the path it is given) a new short temporary name in
// `folder`; the name, or "" when it cannot.
template <class Link> std::string linkUnderTempName(const std::string& folder, Link link) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folder + "/" + randomTempName();
        if (link(name.c_str()))
            return name;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// Gives an unnamed temporary file a short name in its folder, just before the rename.
bool nameTemporary(Pending& p) {
    if (!p.temp.empty())
        return true;
    const std::string self = "/proc/self/fd/" + std::to_string(p.fd.get());
    p.temp = linkUnderTempName(p.folder, [&](const char* name) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name, AT_SYMLINK_FOLLOW) == 0 ||
               (errno != EEXIST && ::linkat(p.fd.get(), "", AT_FDCWD, name, AT_EMPTY_PATH) == 0);
    });
    return !p.temp.empty();
}

void syncFolder(const std::string& folder) {
    const Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

// Removes the temporary files that killed saves left in `folder`. A file still locked
// belongs to a save that is running and is left alone.
void removeLeftovers(const std::string& folder) {
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        if (!isTempName(e->d_name))
            continue;
        const Fd fd(::openat(::dirfd(d), e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (fd.get() >= 0 && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

// Renames the new file over an existing target and keeps the old one under a temporary
// name (`displaced`), so that it can be put back: swapped with the new one in one step
// where the filesystem can, else given a second name (a hard link) first.
bool replaceKeepingOld(Pending& p) {
    if (::renameat2(AT_FDCWD, p.temp.c_str(), AT_FDCWD, p.target.c_str(), RENAME_EXCHANGE) == 0) {
        p.displaced = std::exchange(p.temp, {});
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    p.displaced =
        linkUnderTempName(p.folder, [&](const char* name) { return ::link(p.target.c_str(), name) == 0; });
    if (::rename(p.temp.c_str(), p.target.c_str()) == 0) {
        p.temp.clear();
        return true;
    }
    if (!p.displaced.empty())
        ::unlink(std::exchange(p.displaced, {}).c_str());
    return false;
}

// Puts the new files in place, the side files first and the first file (the waveform)
// last, back to back. Should a rename fail, the files already replaced get their old
// contents back and the save fails as a whole.
bool renameIntoPlace(std::vector<Pending>& pending) {
    std::size_t done = pending.size();
    bool ok = true;
    while (ok && done > 0) {
        Pending& p = pending[done - 1];
        if (done > 1 && p.targetExisted) {
            ok = replaceKeepingOld(p);
        } else {
            ok = ::rename(p.temp.c_str(), p.target.c_str()) == 0;
            if (ok)
                p.temp.clear();
        }
        if (ok)
            --done;
    }
    if (ok)
        return true;
    for (std::size_t i = done; i < pending.size(); ++i) {
        Pending& p = pending[i];
        if (!p.displaced.empty()) {
            if (::rename(p.displaced.c_str(), p.target.c_str()) == 0)
                p.displaced.clear();
        } else if (!p.targetExisted) {
            ::unlink(p.target.c_str());
        }
    }
    return false;
}

// Renames the files into place, then makes the renames durable before the old files kept
// for a roll-back go; or rolls back and removes the temporary files.
bool commit(std::vector<Pending>& pending, const std::vector<std::string>& folders) {
    const bool ok = renameIntoPlace(pending);
    for (Pending& p : pending)
        if (!p.temp.empty())
            ::unlink(p.temp.c_str());
    if (!ok)
        return false; // an old file that could not be put back stays, for a later save to remove
    for (const std::string& f : folders)
        syncFolder(f);
    for (const Pending& p : pending)
        if (!p.displaced.empty())
            ::unlink(p.displaced.c_str());
    return true;
}

// A waveform and its side file change in two renames, and a program killed between them
// (SIGKILL, the out-of-memory killer) would leave the waveform beside another save's side
// file. So the renames of a pair run in a short-lived process of their own, which finishes
// them, or rolls them back, whatever becomes of the program meanwhile. It only makes
// system calls, so it is safe to fork from a program with threads.
bool commitApart(std::vector<Pending>& pending, const std::vector<std::string>& folders) {
    if (pending.size() < 2)
        return commit(pending, folders); // one rename is atomic by itself
    const pid_t pid = ::fork();
    if (pid < 0)
        return commit(pending, folders);
    if (pid == 0)
        ::_exit(commit(pending, folders) ? 0 : 1);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeFilesAtomically({{path, bytes}});
}

bool writeFilesAtomically(const std::vector<std::pair<std::string, std::string_view>>& files) {
    std::vector<Pending> pending(files.size());
    std::vector<mode_t> modes;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].first.empty())
            return false;
        Pending& p = pending[i];
        p.target = replacedFile(files[i].first);
        p.folder = folderOf(p.target);
        struct stat st {};
        const bool exists = ::stat(p.target.c_str(), &st) == 0;
        // Only a regular file is replaced: not a folder, a FIFO or a device, and not a file
        // the user may not write (write-protected).
        if (exists && (!S_ISREG(st.st_mode) || ::access(p.target.c_str(), W_OK) != 0))
            return false;
        modes.push_back(exists ? (st.st_mode & 07777) : newFileMode());
    }
    bool ok = true;
    for (std::size_t i = 0; ok && i < files.size(); ++i) {
        Pending& p = pending[i];
        ok = openTemporary(p, modes[i]) && writeAll(p.fd.get(), files[i].second) && ::fsync(p.fd.get()) == 0;
    }
    // Named only now, all together, so that the time in which a killed save leaves a
    // temporary file behind is as short as it can be.
    for (Pending& p : pending) {
        if (!ok)
            break;
        struct stat st {};
        p.targetExisted = ::stat(p.target.c_str(), &st) == 0;
        ok = nameTemporary(p);
    }
    if (!ok) {
        for (Pending& p : pending)
            if (!p.temp.empty())
                ::unlink(p.temp.c_str());
        return false;
    }
    std::vector<std::string> folders;
    for (const Pending& p : pending)
        if (std::find(folders.begin(), folders.end(), p.folder) == folders.end())
            folders.push_back(p.folder);
    if (!commitApart(pending, folders))
        return false;
    for (const std::string& f : folders)
        removeLeftovers(f);
    return true;
}

} // namespace plotwell::platform
