#pragma once
// Runs a program through the shell with its output and errors caught in files of a folder.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/files.h"

namespace test_support {

struct RunResult {
    int status = -1; // the exit status, or -1 when the program did not exit by itself
    std::string out, err;
};

inline RunResult runProgram(const std::string& program, const std::string& args,
                            const std::filesystem::path& dir) {
    const std::filesystem::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    const std::string command = program + " " + args + " >" + out.string() + " 2>" + err.string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
}

} // namespace test_support
