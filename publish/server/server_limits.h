#pragma once
// What a single client may cost the page server. Past a limit the request is refused or the
// connection closed; nothing a client sends makes the server hold more than these.
#include <cstddef>

namespace quelna {

struct ServerLimits {
    std::size_t headerBytes = 8192; // request line and header fields together (more: 431)
    int headerFields = 64;          // (more: 431)
    std::size_t requestLine = 2048; // (more: 414)
    int headerSeconds = 10;         // from the first byte of a request to its blank line
    int idleSeconds = 5;            // waiting for the first byte of a request
    int writeSeconds = 15;          // sending one answer
    int keepAliveRequests = 100;    // requests on one connection
    int perAddress = 32;            // connections from one client address
    int connections = 1024;         // connections in all
};

} // namespace quelna
