#include "files/csv_encoding.h"

#include <algorithm>

#include "core/text.h"

namespace quelna {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool hasHighBytes(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Calls take(line, number) for each line without its line end; the last line needs none.
template <typename Take> void forEachLine(std::string_view bytes, Take take) {
    int number = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        take(bytes.substr(0, end), ++number);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
}

} // namespace

bool looksLikeUtf8(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        return true;
    bool header = false, utf8 = false, other = false;
    forEachLine(bytes, [&](std::string_view line, int number) {
        if (!hasHighBytes(line))
            return;
        const bool valid = isValidUtf8(line);
        if (number == 1)
            header = valid;
        else
            (valid ? utf8 : other) = true;
    });
    return header || (utf8 && !other);
}

Utf8Conversion utf8FileToCp1251(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    Utf8Conversion result;
    result.bytes.reserve(bytes.size());
    forEachLine(bytes, [&](std::string_view line, int number) {
        if (number > 1)
            result.bytes += '\n';
        if (!hasHighBytes(line) || !isValidUtf8(line)) {
            result.bytes += line;
            return;
        }
        const std::string converted = utf8ToCp1251(line);
        if (std::count(converted.begin(), converted.end(), '?') !=
            std::count(line.begin(), line.end(), '?'))
            result.lossyLines.push_back(number);
        result.bytes += converted;
    });
    if (!bytes.empty() && bytes.back() == '\n')
        result.bytes += '\n';
    return result;
}

} // namespace quelna
