#pragma once
// The compressed forms of a page, made once when the pages are published. A form whose library
// the build lacks (Brotli on Windows, say) is not made, and the page goes out uncompressed.
#include <optional>
#include <string>
#include <string_view>

namespace quelna {

std::optional<std::string> gzipCompress(std::string_view bytes);
std::optional<std::string> brotliCompress(std::string_view bytes);

} // namespace quelna
