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

// The index of the page a path names, or -1.
int pageOfPath(std::string_view path) {
    if (path == "/")
        return 0;
    for (std::size_t i = 0; i < kPlayerPageFiles.size(); ++i)
        if (path.size() == kPlayerPageFiles[i].size() + 1 && path[0] == '/' &&
            path.substr(1) == kPlayerPageFiles[i])
            return static_cast<int>(i);
    return -1;
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
    field("Vary", h.varies ? "Accept-Encoding" : "");
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
    const int index = path ? pageOfPath(*path) : -1;
    if (index < 0)
        return plain(404, close, head, limits);
    std::shared_ptr<const PageSnapshot> snapshot = slot.current();
    if (!snapshot)
        return plain(503, close, head, limits);
    const ServedPage& page = snapshot->pages[static_cast<std::size_t>(index)];
    const Encoding encoding = chooseEncoding(request.acceptEncoding, page);
    Head h;
    h.close = close;
    h.varies = true;
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
