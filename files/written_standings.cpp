#include "files/written_standings.h"

#include "files/csv_fields.h"
#include "files/tournament_extras.h"

namespace quelna {

namespace {

std::optional<long long> wholeNumber(const std::string& field) {
    std::size_t i = field.size() > 0 && (field[0] == '-' || field[0] == '+') ? 1 : 0;
    if (i == field.size() || field.size() > 12)
        return std::nullopt;
    long long value = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            return std::nullopt;
        value = value * 10 + (field[i] - '0');
    }
    return field[0] == '-' ? -value : value;
}

} // namespace

WrittenStandings readWrittenStandings(std::string_view bytes, int players, int rounds) {
    WrittenStandings written;
    written.place.assign(players, std::string());
    written.total.assign(players, std::nullopt);
    std::size_t end = bytes.find('\n'); // the header
    for (int row = 0; row < players && end != std::string_view::npos; ++row) {
        bytes.remove_prefix(end + 1);
        end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (isExtrasMarker(line))
            break;
        const std::vector<std::string> f = splitCsvFields(line);
        if (!f.empty())
            written.place[row] = f[0];
        const std::size_t totalField = 4 + 2 * static_cast<std::size_t>(rounds);
        if (totalField < f.size())
            written.total[row] = wholeNumber(f[totalField]);
    }
    return written;
}

} // namespace quelna
