#pragma once
// The gzip form of a page, made once when the pages are published. Without zlib in the build
// it is not made, and the page goes out uncompressed.
#include <optional>
#include <string>
#include <string_view>

namespace quelna {

std::optional<std::string> gzipCompress(std::string_view bytes);

} // namespace quelna
