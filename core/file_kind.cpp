#include "core/file_kind.h"

#include <filesystem>

#include "core/fs_path.h"

#ifdef __linux__
#include <sys/vfs.h>
#endif

namespace quelna {

namespace {

bool onPseudoFileSystem([[maybe_unused]] const std::string& path) {
#ifdef __linux__
    struct statfs fs;
    if (::statfs(path.c_str(), &fs) != 0)
        return false;
    // procfs, sysfs, debugfs, tracefs, securityfs, configfs
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x9fa0UL:
    case 0x62656572UL:
    case 0x64626720UL:
    case 0x74726163UL:
    case 0x73636673UL:
    case 0x62656570UL:
        return true;
    default:
        return false;
    }
#else
    return false;
#endif
}

} // namespace

FileKind fileKind(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(fsPath(path), ec);
    if (!fs::exists(status))
        return FileKind::Missing;
    if (!fs::is_regular_file(status))
        return FileKind::NotRegular;
    return onPseudoFileSystem(path) ? FileKind::Pseudo : FileKind::Regular;
}

} // namespace quelna
