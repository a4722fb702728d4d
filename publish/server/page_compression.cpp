#include "publish/server/page_compression.h"

#if QUELNA_HAVE_ZLIB
#include <zlib.h>
#endif

namespace quelna {

std::optional<std::string> gzipCompress([[maybe_unused]] std::string_view bytes) {
#if QUELNA_HAVE_ZLIB
    z_stream z{};
    // Window bits 15 + 16: a gzip header and trailer instead of zlib's.
    if (deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    std::string out(deflateBound(&z, static_cast<uLong>(bytes.size())) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (status != Z_STREAM_END)
        return std::nullopt;
    return out;
#else
    return std::nullopt;
#endif
}

} // namespace quelna
