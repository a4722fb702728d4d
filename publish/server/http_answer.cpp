#include "publish/server/http_answer.h"

#include <charconv>
#include <optional>

namespace quelna {

namespace {

std::string_view statusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 304:
        return "Not Modified";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 414:
        return "URI Too Long";
    case 431:
        return "Request Header Fields Too Large";
    default:
        return "Service Unavailable";
    }
}

// The plain-text body of an error: its status text and a line end.
std::string_view errorBody(int status) {
    static const std::string texts[] = {"Bad Request\n",
                                        "Not Found\n",
                                        "Method Not Allowed\n",
                                        "URI Too Long\n",
                                        "Request Header Fields Too Large\n",
                                        "Service Unavailable\n"};
    switch (status) {
    case 400:
        return texts[0];
    case 404:
        return texts[1];
    case 405:
        return texts[2];
    case 414:
        return texts[3];
    case 431:
        return texts[4];
    default:
        return texts[5];
    }
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20))
            return false;
    return true;
}

// Calls f(item) for each comma-separated item of a header value.
template <class F> void forEachItem(std::string_view list, F f) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        f(trim(list.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
}

// The path of the target with %XX decoded; nothing when an escape is malformed.
std::optional<std::string> decodedPath(std::string_view target) {
    target = target.substr(0, target.find('?'));
    std::string path;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] != '%') {
            path += target[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= target.size())
            return std::nullopt;
        const auto [end, ec] =
            std::from_chars(target.data() + i + 1, target.data() + i + 3, value, 16);
        if (ec != std::errc() || end != target.data() + i + 3)
            return std::nullopt;
        path += static_cast<char>(value);
        i += 2;
    }
    return path;
}

// The page a path names in one language's site, or null.
const ServedPage* pageOfPath(std::string_view path, const ServedSite& site) {
    if (path == "/")
        return &site.pages[0];
    if (path.size() < 2 || path[0] != '/')
        return nullptr;
    const std::string_view name = path.substr(1);
    for (std::size_t i = 0; i < kPlayerPageFiles.size(); ++i)
        if (name == kPlayerPageFiles[i])
            return &site.pages[i];
    if (name == kMyPageFile)
        return site.my.identity.empty() ? nullptr : &site.my;
    // p/<start number>: digits only, no sign, no leading zero.
    const std::string_view number = name.substr(0, 2) == "p/" ? name.substr(2) : std::string_view();
    int n = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (number.empty() || number[0] == '0' || ec != std::errc() ||
        end != number.data() + number.size())
        return nullptr;
    const auto found = site.personal.find(n);
    return found == site.personal.end() ? nullptr : &found->second;
}

// The value of one parameter of a query or one cookie: `name=value` items split by `separator`.
std::string_view itemValue(std::string_view list, std::string_view name, char separator) {
    while (!list.empty()) {
        const std::size_t end = list.find(separator);
        const std::string_view item = trim(list.substr(0, end));
        if (item.size() > name.size() && item.substr(0, name.size()) == name &&
            item[name.size()] == '=')
            return item.substr(name.size() + 1);
        if (end == std::string_view::npos)
            break;
        list.remove_prefix(end + 1);
    }
    return {};
}

struct LanguageChoice {
    PageLanguage language = PageLanguage::Russian;
    bool fromQuery = false; // chosen by ?lang=, which the answer asks the phone to remember
};

// ?lang= first, then the cookie the page set, then Russian.
LanguageChoice languageOf(std::string_view target, std::string_view cookie) {
    LanguageChoice choice;
    const std::size_t question = target.find('?');
    if (question != std::string_view::npos &&
        parsePageLanguage(itemValue(target.substr(question + 1), "lang", '&'), choice.language)) {
        choice.fromQuery = true;
        return choice;
    }
    (void)parsePageLanguage(itemValue(cookie, "lang", ';'), choice.language);
    return choice;
}

bool matchesTag(std::string_view ifNoneMatch, const ServedPage& page) {
    bool match = false;
    forEachItem(ifNoneMatch, [&](std::string_view tag) {
        if (tag.substr(0, 2) == "W/")
            tag.remove_prefix(2);
        for (Encoding e : {Encoding::Identity, Encoding::Gzip})
            match = match || tag == "*" || tag == page.etag(e);
    });
    return match;
}

// The header fields every answer carries, in the order they go out (alphabetical, as before).
struct Head {
    int status = 200;
    std::string_view allow, encoding, type = "text/plain; charset=utf-8";
    std::string_view language; // a language chosen by ?lang=, to be remembered
    std::string etag;
    std::size_t length = 0;
    bool lengthField = true;
    bool close = false;
    bool varies = false;
};

std::string render(const Head& h, const ServerLimits& limits) {
    std::string s =
        "HTTP/1.1 " + std::to_string(h.status) + ' ' + std::string(statusText(h.status)) + "\r\n";
    auto field = [&s](std::string_view name, std::string_view value) {
        if (value.empty())
            return;
        s.append(name).append(": ").append(value).append("\r\n");
    };
    field("Allow", h.allow);
    field("Cache-Control", "no-cache");
    field("Connection", h.close ? "close" : "");
    field("Content-Encoding", h.encoding);
    if (h.lengthField)
        field("Content-Length", std::to_string(h.length));
    field("Content-Security-Policy", contentSecurityPolicy());
    if (h.lengthField)
        field("Content-Type", h.type);
    field("ETag", h.etag);
    if (!h.close)
        field("Keep-Alive", "timeout=" + std::to_string(limits.idleSeconds) +
                                ", max=" + std::to_string(limits.keepAliveRequests));
    field("Referrer-Policy", "no-referrer");
    if (!h.language.empty())
        field("Set-Cookie",
              "lang=" + std::string(h.language) + "; Path=/; Max-Age=31536000; SameSite=Lax");
    field("Vary", h.varies ? "Accept-Encoding, Cookie" : "");
    field("X-Content-Type-Options", "nosniff");
    return s + "\r\n";
}

Answer plain(int status, bool close, bool head, const ServerLimits& limits,
             std::string_view allow = {}) {
    Head h;
    h.status = status;
    h.allow = allow;
    h.close = close;
    h.length = errorBody(status).size();
    return {render(h, limits), head ? std::string_view() : errorBody(status), nullptr, close};
}

} // namespace

Encoding chooseEncoding(std::string_view acceptEncoding, const ServedPage& page) {
    bool gzip = false;
    forEachItem(acceptEncoding, [&](std::string_view item) {
        const std::size_t semicolon = item.find(';');
        const std::string_view coding = trim(item.substr(0, semicolon));
        bool refused = false;
        if (semicolon != std::string_view::npos) {
            std::string_view q = trim(item.substr(semicolon + 1));
            if (q.substr(0, 2) == "q=" || q.substr(0, 2) == "Q=") {
                q.remove_prefix(2);
                refused = q.find_first_not_of("0.") == std::string_view::npos;
            }
        }
        if (equalNoCase(coding, "gzip") || equalNoCase(coding, "x-gzip"))
            gzip = !refused;
    });
    if (gzip && !page.gzip.empty())
        return Encoding::Gzip;
    return Encoding::Identity;
}

Answer answerRequest(const RequestHead& request, const SnapshotSlot& slot,
                     const ServerLimits& limits) {
    const bool head = request.method == "HEAD";
    if (request.fieldCount > static_cast<std::size_t>(limits.headerFields))
        return plain(431, true, head, limits);
    if (request.method != "GET" && !head)
        return plain(405, true, false, limits, "GET, HEAD"); // a body it may carry is never read
    const bool close = !request.keepAlive || request.hasBody || request.lastAllowed;
    // Only the path counts: a query changes nothing, and no path ever reaches the file system.
    const std::optional<std::string> path = decodedPath(request.target);
    std::shared_ptr<const PageSnapshot> snapshot = slot.current();
    const LanguageChoice language = languageOf(request.target, request.cookie);
    const ServedPage* found =
        path && snapshot ? pageOfPath(*path, snapshot->site(language.language)) : nullptr;
    if (!found)
        return plain(snapshot || !path ? 404 : 503, close, head, limits);
    const ServedPage& page = *found;
    const Encoding encoding = chooseEncoding(request.acceptEncoding, page);
    Head h;
    h.close = close;
    h.varies = true;
    if (language.fromQuery)
        h.language = pageWords(language.language).code;
    h.etag = page.etag(encoding);
    h.type = page.type;
    if (matchesTag(request.ifNoneMatch, page)) {
        h.status = 304;
        h.lengthField = false;
        return {render(h, limits), {}, nullptr, close};
    }
    h.encoding = encoding == Encoding::Gzip ? "gzip" : "";
    const std::string& body = page.body(encoding);
    h.length = body.size();
    return {render(h, limits), head ? std::string_view() : std::string_view(body),
            std::move(snapshot), close};
}

Answer answerUnreadable(int status) {
    return plain(status, true, false, ServerLimits{});
}

} // namespace quelna
