#pragma once
// What differs between Windows and elsewhere at the edges of quelna-cli.
#include <string>
#include <vector>

namespace quelna {

// The arguments after the program name, file names in the program's encoding (UTF-8 on Windows,
// where argv holds the ANSI code page and would lose a Cyrillic folder name).
[[nodiscard]] std::vector<std::string> commandLineArguments(int argc, char** argv);

// Standard output carries the tournament file itself, so Windows must not turn its CR LF into
// CR CR LF (nor the report's LF into CR LF).
void useBinaryStandardOutput();

} // namespace quelna
