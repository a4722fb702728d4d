#pragma once
// Every file the program writes goes through here, so that a failed or interrupted write never
// destroys the file it was meant to replace.
#include <string>
#include <string_view>

namespace quelna {

// Writes content to path through a uniquely named temporary file beside the real target, flushed
// to disk, then renames it over the target. A symbolic link is followed to the file it names and
// stays a link; the replaced file's permission bits are kept. A target that exists and is not a
// regular file, or is read-only, is refused without anything being opened. On failure nothing is
// replaced, no temporary file stays behind and error (when given) holds the reason.
[[nodiscard]] bool safeWriteFile(const std::string& path, std::string_view content,
                                 std::string* error = nullptr);

} // namespace quelna
