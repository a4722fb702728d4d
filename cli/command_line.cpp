#include "cli/command_line.h"

#ifdef _WIN32
// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "core/fs_path.h"
#endif

namespace quelna {

#ifdef _WIN32

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(pathText(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return args;
}

void useBinaryStandardOutput() {
    std::fflush(stdout);
    (void)_setmode(_fileno(stdout), _O_BINARY);
}

#else

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void useBinaryStandardOutput() {}

#endif

} // namespace quelna
