#include "files/csv_fields.h"

namespace quelna {

namespace {

// When line[start] opens a quoted field that ends at a ';' or the line's end, the field's text
// and the position after it; otherwise nothing is taken.
bool takeQuoted(std::string_view line, std::size_t start, std::string& field, std::size_t& end) {
    std::string text;
    for (std::size_t i = start + 1; i < line.size(); ++i) {
        if (line[i] != '"') {
            text += line[i];
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == '"') {
            text += '"';
            ++i;
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] != ';')
            return false;
        field = std::move(text);
        end = i + 1;
        return true;
    }
    return false;
}

} // namespace

std::vector<std::string> splitCsvFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        std::string quoted;
        std::size_t end = 0;
        if (start < line.size() && line[start] == '"' && takeQuoted(line, start, quoted, end)) {
            fields.push_back(std::move(quoted));
        } else {
            end = std::min(line.find(';', start), line.size());
            fields.emplace_back(line.substr(start, end - start));
        }
        if (end >= line.size())
            return fields;
        start = end + 1;
    }
}

bool holdsNumber(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        ++i;
    return i < field.size() && field[i] >= '0' && field[i] <= '9';
}

} // namespace quelna
