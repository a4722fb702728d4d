#include "core/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quelna {

namespace {

bool fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return false;
}

// The first name tried is the fixed one earlier versions used, so a leftover is recognisable;
// the others are random, so two runs on one file never share a temporary file.
std::string tempCandidate(const std::string& target, int attempt) {
    if (attempt == 0)
        return target + ".saving";
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".saving-%012llx",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return target + suffix;
}

constexpr int kTempAttempts = 64;

} // namespace

#ifndef _WIN32

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
        // A file made read-only is left alone, even for a user the system would let through.
        if ((existing.st_mode & 0222) == 0 || ::access(real.c_str(), W_OK) != 0)
            return fail(error, errnoText(real, EACCES));
        replacing = true;
    } else if (errno != ENOENT) {
        return fail(error, errnoText(real, errno));
    }

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

    auto abandon = [&](const std::string& what, int code) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        return fail(error, errnoText(what, code));
    };
    if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0)
        return abandon(temp, errno);
    if (!writeAll(fd, content))
        return abandon(temp, errno);
    if (::fsync(fd) != 0)
        return abandon(temp, errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return abandon(temp, errno);
    if (::rename(temp.c_str(), real.c_str()) != 0)
        return abandon(real, errno);
    return syncFolder(folderOf(real), error);
}

#else // _WIN32

namespace {

std::wstring widen(const std::string& utf8) {
    if (utf8.empty())
        return std::wstring();
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                          wide.data(), n);
    return wide;
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                              n, nullptr, nullptr);
    return utf8;
}

std::string systemText(const std::string& what, DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = n > 0 && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        text = L"error " + std::to_wstring(code);
    return what + ": " + narrow(text);
}

// The file a link or junction finally names; the path itself when it is none or does not exist.
std::wstring resolveLinks(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return path;
    std::wstring real(32768, L'\0');
    const DWORD n = ::GetFinalPathNameByHandleW(h, real.data(), static_cast<DWORD>(real.size()),
                                                FILE_NAME_NORMALIZED);
    ::CloseHandle(h);
    if (n == 0 || n >= real.size())
        return path;
    real.resize(n);
    return real;
}

} // namespace

bool safeWriteFile(const std::string& path, std::string_view content, std::string* error) {
    const std::wstring wide = widen(path);
    if (wide.empty())
        return fail(error, systemText(path, ERROR_INVALID_NAME));
    const std::wstring real = resolveLinks(wide);
    const std::string realText = narrow(real);

    const DWORD attributes = ::GetFileAttributesW(real.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT))
            return fail(error, realText + ": is not a regular file");
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return fail(error, systemText(realText, ERROR_ACCESS_DENIED));
    } else {
        const DWORD code = ::GetLastError();
        if (code != ERROR_FILE_NOT_FOUND)
            return fail(error, systemText(realText, code));
    }

    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kTempAttempts && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = widen(tempCandidate(narrow(real), attempt));
        // CREATE_NEW fails on any existing name, a link included, so nothing there is touched.
        h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
                return fail(error, systemText(narrow(temp), code));
        }
    }
    if (h == INVALID_HANDLE_VALUE)
        return fail(error, systemText(narrow(temp), ERROR_FILE_EXISTS));

    auto abandon = [&](const std::string& what, DWORD code) {
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
        ::DeleteFileW(temp.c_str());
        return fail(error, systemText(what, code));
    };
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(h, content.data(), chunk, &written, nullptr))
            return abandon(narrow(temp), ::GetLastError());
        content.remove_prefix(written);
    }
    if (!::FlushFileBuffers(h))
        return abandon(narrow(temp), ::GetLastError());
    const BOOL closed = ::CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
    if (!closed)
        return abandon(narrow(temp), ::GetLastError());
    // Write-through: the rename is on the disk when the call returns.
    if (!::MoveFileExW(temp.c_str(), real.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return abandon(realText, ::GetLastError());
    return true;
}

#endif

} // namespace quelna
