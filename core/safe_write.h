#pragma once
// Every file the program writes goes through here, so that a failed or interrupted write never
// destroys the file it was meant to replace.
#include <string>
#include <string_view>

namespace quelna {

// Writes content to path through a uniquely named temporary file beside the real target, then
// renames it over the target. On failure nothing is replaced, no temporary file stays behind and
// error (when given) holds the reason.
[[nodiscard]] bool safeWriteFile(const std::string& path, std::string_view content,
                                 std::string* error = nullptr);

} // namespace quelna
