#include "publish/export_pages.h"

#include <filesystem>
#include <system_error>

#include "core/fs_path.h"
#include "core/safe_write.h"

namespace quelna {

bool exportPlayerPages(const PlayerPages& pages, const std::string& dir, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fsPath(dir), ec);
    if (ec || !fs::is_directory(fsPath(dir), ec)) {
        if (error)
            *error = dir + ": " + (ec ? ec.message() : std::string("not a directory"));
        return false;
    }
    const std::string* contents[] = {&pages.indexHtml, &pages.standingsHtml, &pages.teamsHtml,
                                     &pages.seatingJson};
    for (std::size_t i = 0; i < kPlayerPageFiles.size(); ++i) {
        const std::string path = pathText(fsPath(dir) / fsPath(std::string(kPlayerPageFiles[i])));
        std::string why;
        if (!safeWriteFile(path, *contents[i], &why)) {
            if (error)
                *error = path + ": " + why;
            return false;
        }
    }
    return true;
}

} // namespace quelna
