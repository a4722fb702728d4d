#pragma once
// The fields of one line of a tournament file. The program writes them bare; a spreadsheet that
// saved the file may have put text cells in double quotes, doubling each quote inside.
#include <string>
#include <string_view>
#include <vector>

namespace quelna {

// Splits a line (without its line end) at ';'. A field wholly in double quotes is unquoted and
// "" inside it becomes "; a ';' inside the quotes belongs to the field. Anything else, a stray
// quote included, is taken as it stands.
std::vector<std::string> splitCsvFields(std::string_view line);

// Whether the reader takes a number from the field: after leading blanks, an optional sign
// followed by a digit.
bool holdsNumber(std::string_view field);

} // namespace quelna
