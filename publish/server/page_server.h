#pragma once
// The read-only web server of the players' pages (cpp-httplib on threads of its own). It answers
// GET and HEAD for the four pages and "/" from the current snapshot and nothing else.
#include <memory>
#include <string>
#include <thread>

#include "publish/server/page_snapshot.h"

namespace httplib {
class Server;
}

namespace quelna {

enum class ServerStart { Started, PortInUse, NotPermitted, Failed };

// What a single client may cost the server.
struct ServerLimits {
    int workers = 16;            // connections served at once; more wait for a free worker
    int maxHeaders = 64;         // header fields of a request (more: 431)
    int timeoutSeconds = 5;      // a read or write that stalls this long ends the connection
    int keepAliveSeconds = 5;    // idle time between two requests on one connection
    int keepAliveRequests = 100; // requests on one connection
};

class PageServer {
  public:
    explicit PageServer(const SnapshotSlot& slot, ServerLimits limits = {});
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    // Listens on host (all IPv4 interfaces by default) in the background. Port 0 picks a free
    // port (tests); port() tells which.
    [[nodiscard]] ServerStart start(int port, const std::string& host = "0.0.0.0");
    // Returns when the listener and every worker have ended. Safe to call when stopped.
    void stop();
    bool running() const { return server_ != nullptr; }
    int port() const { return port_; }

  private:
    const SnapshotSlot& slot_;
    ServerLimits limits_;
    std::unique_ptr<httplib::Server> server_;
    std::thread listener_;
    int port_ = 0;
};

} // namespace quelna
