#pragma once
// The place and total a tournament file wrote beside each player line. The reader ignores both
// (they are derived), so only a check of the file looks at them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelna {

struct WrittenStandings {
    // One per player line, in the file's order (the record's slots): the МЕСТО field, and the
    // ИО_ИТОГ field when it holds a whole number.
    std::vector<std::string> place;
    std::vector<std::optional<long long>> total;
};

WrittenStandings readWrittenStandings(std::string_view bytes, int players, int rounds);

} // namespace quelna
