#pragma once
// quelna-cli html IN.csv --out DIR: the players' pages of a saved tournament as files.
#include <string>
#include <vector>

namespace quelna {

// args[0] is "html". Exit status: 0 written, 2 bad usage or input, 3 DIR cannot be written.
int runHtmlCommand(const std::vector<std::string>& args);

} // namespace quelna
