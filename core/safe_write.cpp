#include "core/safe_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/fs_path.h"

namespace quelna {

namespace fs = std::filesystem;

// A first, portable version: temporary file, then rename.
bool safeWriteFile(const std::string& path, std::string_view content, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    std::random_device rd;
    const fs::path target = fsPath(path);
    if (target.empty())
        return fail("the file name cannot be used");
    const fs::path temp = fsPath(path + ".tmp" + std::to_string(rd()));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return fail(std::strerror(errno));
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            return fail(std::strerror(errno));
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return fail(ec.message());
    }
    return true;
}

} // namespace quelna
