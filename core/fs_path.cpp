#include "core/fs_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quelna {

#ifdef _WIN32

std::filesystem::path fsPath(const std::string& name) {
    if (name.empty())
        return {};
    const int size = static_cast<int>(name.size());
    const int wide =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), size, text.data(), wide);
    return std::filesystem::path(std::move(text));
}

std::string pathText(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    // A lone surrogate (possible in Windows names) becomes U+FFFD instead of failing.
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
    return text;
}

#else

std::filesystem::path fsPath(const std::string& name) {
    return std::filesystem::path(name);
}

std::string pathText(const std::filesystem::path& path) {
    return path.native();
}

#endif

} // namespace quelna
