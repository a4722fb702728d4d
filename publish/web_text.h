#pragma once
// Text for the players' pages: HTML and JSON escaping of UTF-8, and the SHA-256 digest by which
// the pages' security policy names their one inline script.
#include <string>
#include <string_view>

namespace quelna {

// Escapes &, <, >, " and ' so that the text is safe in element content and quoted attributes.
std::string escapeHtml(std::string_view utf8);
// A JSON string literal with its quotes; control characters become \u escapes.
std::string jsonString(std::string_view utf8);
// The SHA-256 digest of bytes, base64-encoded, as a Content-Security-Policy hash source wants it.
std::string sha256Base64(std::string_view bytes);

} // namespace quelna
