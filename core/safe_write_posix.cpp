// The safe write on POSIX systems: open, write, fsync and rename, with links followed by hand.
#ifndef _WIN32

#include "core/safe_write.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/safe_write_temp.h"

namespace quelna {

using safe_write::fail;
using safe_write::kTempAttempts;
using safe_write::tempCandidate;

namespace {

std::string errnoText(const std::string& what, int code) {
    return what + ": " + std::strerror(code);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows a chain of symbolic links to the file they name, which need not exist yet (a link to a
// file still to be written). Only the last component is followed: the folder stays the folder.
bool resolveLinks(const std::string& path, std::string& real, std::string* error) {
    real = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(real.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(real.c_str(), target.data(), target.size());
        if (n < 0)
            return fail(error, errnoText(real, errno));
        if (static_cast<std::size_t>(n) >= target.size())
            return fail(error, errnoText(real, ENAMETOOLONG));
        target.resize(static_cast<std::size_t>(n));
        real = target.front() == '/' ? target : folderOf(real) + "/" + target;
    }
    return fail(error, errnoText(path, ELOOP));
}

// Removes the temporaries that killed saves left beside real. One is taken for a leftover only when
// no save holds its lock and it was written long enough ago (the instant between a save creating
// it and locking it); links, folders and whatever else bears such a name are left alone.
void removeStaleTemporaries(const std::string& real) {
    const std::string folder = folderOf(real);
    const std::size_t slash = real.rfind('/');
    const std::string name = slash == std::string::npos ? real : real.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!safe_write::isTempName(name, entry->d_name))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened, named;
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            named.st_ino == opened.st_ino && named.st_dev == opened.st_dev &&
            std::time(nullptr) - opened.st_mtime >= safe_write::kStaleTempSeconds)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// After the rename the folder entry itself must reach the disk. Some file systems cannot sync a
// folder; that is no reason to call a finished save a failure.
bool syncFolder(const std::string& folder, std::string* error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, errnoText(folder, errno));
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    const int code = errno;
    ::close(fd);
    return synced || fail(error, errnoText(folder, code));
}

// A file size limit (ulimit -f) makes a write beyond it raise SIGXFSZ, which ends the process
// unless ignored; ignored, the write fails with EFBIG and the save is reported and cleaned up.
// The old disposition comes back when the last write in progress ends.
class FileSizeSignalIgnored {
  public:
    FileSizeSignalIgnored() {
        const std::lock_guard<std::mutex> hold(mutex());
        if (users()++ == 0) {
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            sigemptyset(&ignore.sa_mask);
            ::sigaction(SIGXFSZ, &ignore, &saved());
        }
    }
    ~FileSizeSignalIgnored() {
        const std::lock_guard<std::mutex> hold(mutex());
        if (--users() == 0)
            ::sigaction(SIGXFSZ, &saved(), nullptr);
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

  private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static int& users() {
        static int n = 0;
        return n;
    }
    static struct sigaction& saved() {
        static struct sigaction s {};
        return s;
    }
};

} // namespace

bool safeWriteFile(const std::string& path, std::string_view content, std::string* error) {
    if (path.empty())
        return fail(error, errnoText("(no file name)", ENOENT));
    std::string real;
    if (!resolveLinks(path, real, error))
        return false;

    struct stat existing;
    bool replacing = false;
    if (::lstat(real.c_str(), &existing) == 0) {
        // A device, a FIFO or a folder is never replaced by a regular file.
        if (!S_ISREG(existing.st_mode))
            return fail(error, real + ": is not a regular file");
        // A file made read-only is left alone, even for a user the system would let through. A
        // read-only file system is named as such.
        if ((existing.st_mode & 0222) == 0)
            return fail(error, errnoText(real, EACCES));
        if (::access(real.c_str(), W_OK) != 0)
            return fail(error, errnoText(real, errno));
        replacing = true;
    } else if (errno != ENOENT) {
        return fail(error, errnoText(real, errno));
    }

    removeStaleTemporaries(real);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < kTempAttempts && fd < 0; ++attempt) {
        temp = tempCandidate(real, attempt);
        // Exclusive and not through a link: whatever already sits at that name is never touched.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(error, errnoText(temp, errno));
    }
    if (fd < 0)
        return fail(error, errnoText(temp, EEXIST));
    // Held until the temporary has its final name, so another save never takes it for a leftover.
    (void)::flock(fd, LOCK_EX);

    auto abandon = [&](const std::string& what, int code) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        return fail(error, errnoText(what, code));
    };
    if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0)
        return abandon(temp, errno);
    int writeError = 0;
    {
        const FileSizeSignalIgnored beyondLimitFails;
        if (!writeAll(fd, content))
            writeError = errno;
    }
    if (writeError != 0)
        return abandon(temp, writeError);
    if (::fsync(fd) != 0)
        return abandon(temp, errno);
    // Renamed while still open and locked; the data is on the disk, so closing cannot lose it.
    if (::rename(temp.c_str(), real.c_str()) != 0)
        return abandon(real, errno);
    ::close(fd);
    return syncFolder(folderOf(real), error);
}

} // namespace quelna

#endif
