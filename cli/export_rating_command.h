#pragma once
// quelna-cli export-rating IN.csv --out OUT.csv: a saved tournament's results for the rating
// portal.
#include <string>
#include <vector>

namespace quelna {

// args[0] is "export-rating". Exit status: 0 written, 2 bad usage or input (names that are not
// two words included), 3 OUT.csv cannot be written.
int runExportRatingCommand(const std::vector<std::string>& args);

} // namespace quelna
