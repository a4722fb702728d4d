#include "publish/server/page_snapshot.h"

#include <cstdint>
#include <cstdio>

#include "publish/server/page_compression.h"

namespace quelna {

namespace {

// FNV-1a, 64 bits: a page's tag only has to change when the page does.
std::string contentTag(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

ServedPage servedPage(const std::string& body, const char* type) {
    ServedPage page;
    page.identity = body;
    page.gzip = gzipCompress(body).value_or(std::string());
    page.tag = contentTag(body);
    page.type = type;
    return page;
}

} // namespace

const std::string& ServedPage::body(Encoding e) const {
    return e == Encoding::Gzip ? gzip : identity;
}

std::string ServedPage::etag(Encoding e) const {
    return '"' + tag + (e == Encoding::Gzip ? "-gz" : "") + '"';
}

std::shared_ptr<const PageSnapshot> makePageSnapshot(const PlayerPages& pages) {
    constexpr const char* kHtml = "text/html; charset=utf-8";
    auto snapshot = std::make_shared<PageSnapshot>();
    snapshot->pages = {servedPage(pages.indexHtml, kHtml), servedPage(pages.standingsHtml, kHtml),
                       servedPage(pages.teamsHtml, kHtml),
                       servedPage(pages.seatingJson, "application/json; charset=utf-8")};
    return snapshot;
}

} // namespace quelna
