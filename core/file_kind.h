#pragma once
// What sits at a path before the program reads it. A folder, FIFO or device is no file to read,
// and neither is a file of the kernel's pseudo file systems (procfs, sysfs): such a file claims to
// be regular, yet its size is made up and reading it may block for ever (/proc/kmsg).
#include <string>

namespace quelna {

enum class FileKind { Missing, Regular, NotRegular, Pseudo };

// Links are followed.
[[nodiscard]] FileKind fileKind(const std::string& path);

} // namespace quelna
