#pragma once
// Text helpers of the record: CP1251 <-> UTF-8, and the one place where names are made safe.
#include <string>
#include <string_view>

namespace quelna {

// Longest name or team name the record stores (a 50-byte slot with its terminating NUL).
inline constexpr int kMaxNameLength = 49;

// CP1251 bytes to UTF-8. Every byte has a meaning except 0x98, which becomes U+FFFD.
std::string cp1251ToUtf8(std::string_view cp1251);
// UTF-8 to CP1251. A character the code page cannot hold becomes '?'; broken UTF-8 bytes too.
std::string utf8ToCp1251(std::string_view utf8);
// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values beyond
// U+10FFFF).
bool isValidUtf8(std::string_view bytes);
// True when the Unicode code point has a CP1251 byte.
bool isCp1251Representable(char32_t codePoint);

// A name as the record stores it: ';' becomes ',', line breaks and other control bytes become
// blanks (a saved file must read back), cut to kMaxNameLength bytes.
std::string sanitizeName(std::string_view cp1251);

// Parses an optionally signed decimal integer the way the program reads typed numbers:
// leading blanks skipped, digits up to the first non-digit; nothing readable gives 0.
// Values beyond the 32-bit range are clamped instead of overflowing.
int parseLeadingInt(std::string_view text);

} // namespace quelna
