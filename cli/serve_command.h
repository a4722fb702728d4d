#pragma once
// quelna-cli serve FILE.csv: the players' pages of a saved tournament on the web, published anew
// whenever the file changes.
#include <string>
#include <vector>

namespace quelna {

// args[0] is "serve". Runs until Ctrl+C or SIGTERM. Exit status: 0 stopped, 2 bad usage or
// input, 3 the port cannot be opened.
int runServeCommand(const std::vector<std::string>& args);

} // namespace quelna
