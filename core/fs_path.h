#pragma once
// File names travel through the program as std::string: UTF-8 on Windows, the file system's own
// bytes elsewhere. Every file call goes through fsPath, since on Windows a std::filesystem::path
// made straight from a std::string reads it in the ANSI code page (and throws on what that cannot
// hold), so a folder named in Cyrillic would be missed or crash the program.
#include <filesystem>
#include <string>

namespace quelna {

// The path to hand to file calls. A name that is not valid UTF-8 on Windows gives an empty path,
// which every file call refuses.
[[nodiscard]] std::filesystem::path fsPath(const std::string& name);
// The name of a path in the program's encoding (never throws).
[[nodiscard]] std::string pathText(const std::filesystem::path& path);

} // namespace quelna
