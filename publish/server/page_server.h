#pragma once
// The read-only web server of the players' pages: one thread of its own that waits on every
// connection at once (Boost.Asio), so a client that is slow, idle or hostile holds a few
// kilobytes and never a thread. It answers GET and HEAD for the four pages, "/", my.html and
// p/<start number>, in the language asked for, from the current snapshot and nothing else.
#include <memory>
#include <string>

#include "publish/server/page_snapshot.h"
#include "publish/server/server_limits.h"

namespace quelna {

// BadAddress: the host is neither an IP address nor localhost; AddressNotHere: no interface of
// this computer has it.
enum class ServerStart { Started, PortInUse, NotPermitted, BadAddress, AddressNotHere, Failed };

class PageServer {
  public:
    explicit PageServer(const SnapshotSlot& slot, ServerLimits limits = {});
    ~PageServer();
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    // Listens on host (all IPv4 interfaces by default; an IPv4 or IPv6 literal, "[::1]" too, or
    // localhost) in the background. Port 0 picks a free port (tests); port() tells which.
    [[nodiscard]] ServerStart start(int port, const std::string& host = "0.0.0.0");
    // Closes every connection and returns when the server's thread has ended, whatever the
    // clients are doing. Safe to call when stopped.
    void stop();
    bool running() const { return running_ != nullptr; }
    int port() const { return port_; }

  private:
    class Running;
    const SnapshotSlot& slot_;
    ServerLimits limits_;
    std::unique_ptr<Running> running_;
    int port_ = 0;
};

} // namespace quelna
