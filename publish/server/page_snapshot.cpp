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

ServedPage servedPage(const std::string& body, const char* type,
                      const ServedPage* previous = nullptr) {
    if (previous && previous->identity == body && previous->type == type)
        return *previous;
    ServedPage page;
    page.identity = body;
    page.gzip = gzipCompress(body).value_or(std::string());
    page.tag = contentTag(body);
    page.type = type;
    return page;
}

constexpr const char* kHtml = "text/html; charset=utf-8";

constexpr const char* kJson = "application/json; charset=utf-8";

ServedSite servedSite(const PlayerPages& pages, const ServedSite* before) {
    auto old = [before](std::size_t i) { return before ? &before->pages[i] : nullptr; };
    ServedSite site;
    site.pages = {
        servedPage(pages.indexHtml, kHtml, old(0)), servedPage(pages.standingsHtml, kHtml, old(1)),
        servedPage(pages.teamsHtml, kHtml, old(2)), servedPage(pages.seatingJson, kJson, old(3))};
    if (!pages.myHtml.empty())
        site.my = servedPage(pages.myHtml, kHtml, before ? &before->my : nullptr);
    for (const auto& [number, html] : pages.personalHtml) {
        const ServedPage* was = nullptr;
        if (before) {
            const auto found = before->personal.find(number);
            was = found == before->personal.end() ? nullptr : &found->second;
        }
        site.personal.emplace(number, servedPage(html, kHtml, was));
    }
    return site;
}

} // namespace

const std::string& ServedPage::body(Encoding e) const {
    return e == Encoding::Gzip ? gzip : identity;
}

std::string ServedPage::etag(Encoding e) const {
    return '"' + tag + (e == Encoding::Gzip ? "-gz" : "") + '"';
}

std::shared_ptr<const PageSnapshot>
makePageSnapshot(const std::array<PlayerPages, 2>& pages,
                 const std::shared_ptr<const PageSnapshot>& previous) {
    auto snapshot = std::make_shared<PageSnapshot>();
    for (std::size_t i = 0; i < pages.size(); ++i)
        snapshot->sites[i] = servedSite(pages[i], previous ? &previous->sites[i] : nullptr);
    return snapshot;
}

std::shared_ptr<const PageSnapshot> makePageSnapshot(const PlayerPages& pages) {
    auto snapshot = std::make_shared<PageSnapshot>();
    snapshot->sites[0] = servedSite(pages, nullptr);
    snapshot->sites[1] = snapshot->sites[0];
    return snapshot;
}

} // namespace quelna
