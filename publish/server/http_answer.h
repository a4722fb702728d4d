#pragma once
// What the page server answers to one request: the protocol's decisions (which page, which
// stored encoding, 304, 404, 405, the headers), apart from the sockets that carry them.
#include <memory>
#include <string>
#include <string_view>

#include "publish/server/page_snapshot.h"
#include "publish/server/server_limits.h"

namespace quelna {

struct RequestHead {
    std::string_view method;
    std::string_view target;
    std::string_view acceptEncoding;
    std::string_view ifNoneMatch;
    std::string_view cookie;
    bool keepAlive = false;   // what the client asked for (HTTP/1.1 by default, 1.0 on request)
    bool hasBody = false;     // a body this server never reads, so the connection must end
    bool lastAllowed = false; // the connection has served its share of requests
    std::size_t fieldCount = 0;
};

struct Answer {
    std::string head;                           // status line and header fields, blank line
    std::string_view body;                      // into holder, or a static text
    std::shared_ptr<const PageSnapshot> holder; // keeps body alive while it is sent
    bool close = false;
};

Answer answerRequest(const RequestHead& request, const SnapshotSlot& slot,
                     const ServerLimits& limits);
// 400, 414 or 431 for a request that could not be read whole; the connection ends after it.
Answer answerUnreadable(int status);

// The stored form to send: gzip when the client accepts it and it was made, else the page.
Encoding chooseEncoding(std::string_view acceptEncoding, const ServedPage& page);

} // namespace quelna
