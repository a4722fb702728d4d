// The safe write on Windows: CreateFileW, WriteFile, FlushFileBuffers and a write-through
// MoveFileExW, with UTF-16 names.
#ifdef _WIN32

#include "core/safe_write.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "core/fs_path.h"
#include "core/safe_write_temp.h"

namespace quelna {

using safe_write::fail;
using safe_write::kTempAttempts;
using safe_write::tempCandidate;

namespace {

// Names go through core/fs_path, the one conversion between UTF-8 and UTF-16 names.
std::wstring widen(const std::string& utf8) {
    return fsPath(utf8).native();
}

std::string narrow(const std::wstring& wide) {
    return pathText(std::filesystem::path(wide));
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

// Removes the temporaries that killed saves left beside real. A save in progress holds its
// temporary open without sharing, so deleting it fails; the age covers the instant between its
// close and its rename. Folders and links bearing such a name are left alone.
void removeStaleTemporaries(const std::wstring& real) {
    namespace fs = std::filesystem;
    const fs::path target(real);
    const std::string name = pathText(target.filename());
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        std::error_code fileEc;
        if (!safe_write::isTempName(name, pathText(path.filename())) ||
            !fs::is_regular_file(fs::symlink_status(path, fileEc)))
            continue;
        const auto written = fs::last_write_time(path, fileEc);
        if (!fileEc && now - written >= std::chrono::seconds(safe_write::kStaleTempSeconds))
            ::DeleteFileW(path.c_str());
    }
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

    removeStaleTemporaries(real);
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

} // namespace quelna

#endif
