#include "file_lock.h"

#include "core/fs_path.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quelna {

#ifndef _WIN32

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

FileLock::Result FileLock::lock(const std::string& path, std::string* error) {
    // A safe write by the run holding the lock puts a new file at path; a lock on the file it
    // replaced protects nothing, so the lock is taken again until it sits on the file at path.
    for (int attempt = 0; attempt < 16; ++attempt) {
        // Non-blocking, so a FIFO does not wait for a writer.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            if (error)
                *error = std::strerror(errno);
            return Result::Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            ::close(fd);
            if (code == EWOULDBLOCK)
                return Result::Busy;
            if (error)
                *error = std::strerror(code);
            return Result::Failed;
        }
        struct stat locked, named;
        if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = fd;
            return Result::Locked;
        }
        ::close(fd);
    }
    return Result::Busy;
}

void FileLock::releaseBeforeReplace() {}

#else // _WIN32

namespace {

// Windows locks are mandatory: a byte far beyond any tournament file is locked, so reading the
// file stays possible while the lock only excludes other runs.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

} // namespace

FileLock::~FileLock() {
    releaseBeforeReplace();
}

void FileLock::releaseBeforeReplace() {
    if (handle_) {
        OVERLAPPED where{};
        where.OffsetHigh = kLockOffsetHigh;
        ::UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &where);
        ::CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

FileLock::Result FileLock::lock(const std::string& path, std::string* error) {
    // Every kind of sharing, so the safe write can still replace the file while it is locked.
    HANDLE h = ::CreateFileW(fsPath(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error)
            *error = "cannot open (error " + std::to_string(::GetLastError()) + ")";
        return Result::Failed;
    }
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
        const DWORD code = ::GetLastError();
        ::CloseHandle(h);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
            return Result::Busy;
        if (error)
            *error = "cannot lock (error " + std::to_string(code) + ")";
        return Result::Failed;
    }
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = h;
    return Result::Locked;
}

#endif

} // namespace quelna
