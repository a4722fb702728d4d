#pragma once
// Tournament files are CP1251. One saved as UTF-8 by an editor or a spreadsheet, or with names
// pasted in as UTF-8 under the program's own header, would be read as mojibake and saved back so;
// these find such a file and turn it into CP1251.
#include <string>
#include <string_view>
#include <vector>

namespace quelna {

// True when the text looks like UTF-8 rather than CP1251: a UTF-8 byte-order mark, a header in
// UTF-8, or lines below the header with bytes above 127 that are all well-formed UTF-8 (Cyrillic
// CP1251 text practically never is).
[[nodiscard]] bool looksLikeUtf8(std::string_view bytes);

struct Utf8Conversion {
    std::string bytes;           // CP1251
    std::vector<int> lossyLines; // 1-based lines with characters CP1251 has not (now '?')
};
// Each line that is well-formed UTF-8 turned into CP1251, any other line (a CP1251 header) kept
// as it is, a byte-order mark dropped.
Utf8Conversion utf8FileToCp1251(std::string_view bytes);

} // namespace quelna
