#include "publish/server/page_server.h"

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>

namespace quelna {

namespace {

struct Resource {
    std::string_view path;
    std::string PageSnapshot::*body;
    const char* type;
};

const Resource kResources[] = {
    {"/", &PageSnapshot::indexHtml, "text/html; charset=utf-8"},
    {"/index.html", &PageSnapshot::indexHtml, "text/html; charset=utf-8"},
    {"/standings.html", &PageSnapshot::standingsHtml, "text/html; charset=utf-8"},
    {"/teams.html", &PageSnapshot::teamsHtml, "text/html; charset=utf-8"},
    {"/seating.json", &PageSnapshot::seatingJson, "application/json; charset=utf-8"},
};

void answer(const SnapshotSlot& slot, const ServerLimits& limits, const httplib::Request& req,
            httplib::Response& res) {
    res.set_header("Cache-Control", "no-cache");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Content-Security-Policy", contentSecurityPolicy());
    res.set_header("Referrer-Policy", "no-referrer");
    auto plain = [&](int status, const char* text) {
        res.status = status;
        res.set_content(text, "text/plain; charset=utf-8");
    };
    if (req.headers.size() > static_cast<std::size_t>(limits.maxHeaders)) {
        res.set_header("Connection", "close");
        return plain(431, "Request Header Fields Too Large\n");
    }
    if (req.method != "GET" && req.method != "HEAD") {
        res.set_header("Allow", "GET, HEAD");
        res.set_header("Connection", "close"); // a body it may carry is never read
        return plain(405, "Method Not Allowed\n");
    }
    // Only the path counts: a query changes nothing, and no path ever reaches the file system.
    for (const Resource& r : kResources) {
        if (req.path != r.path)
            continue;
        const std::shared_ptr<const PageSnapshot> snapshot = slot.current();
        if (!snapshot)
            return plain(503, "Service Unavailable\n");
        res.status = 200;
        res.set_content((*snapshot).*(r.body), r.type);
        return;
    }
    plain(404, "Not Found\n");
}

// Plain SO_REUSEADDR: the library's default also sets SO_REUSEPORT, which would let a second
// server share the port instead of reporting it as taken.
void listenSocketOptions(socket_t sock) {
    int yes = 1;
    (void)setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

} // namespace

PageServer::PageServer(const SnapshotSlot& slot, ServerLimits limits)
    : slot_(slot), limits_(limits) {}

PageServer::~PageServer() {
    stop();
}

ServerStart PageServer::start(int port, const std::string& host) {
    stop();
    auto server = std::make_unique<httplib::Server>();
    const int workers = limits_.workers;
    server->new_task_queue = [workers] { return new httplib::ThreadPool(workers); };
    server->set_socket_options(listenSocketOptions);
    server->set_address_family(AF_INET);
    // Headers and body go out in separate writes; without this each answer waits for a delayed
    // acknowledgement.
    server->set_tcp_nodelay(true);
    server->set_read_timeout(limits_.timeoutSeconds, 0);
    server->set_write_timeout(limits_.timeoutSeconds, 0);
    server->set_keep_alive_timeout(limits_.keepAliveSeconds);
    server->set_keep_alive_max_count(limits_.keepAliveRequests);
    server->set_payload_max_length(4096);
    const SnapshotSlot& slot = slot_;
    const ServerLimits limits = limits_;
    server->set_pre_routing_handler(
        [&slot, limits](const httplib::Request& req, httplib::Response& res) {
            answer(slot, limits, req, res);
            return httplib::Server::HandlerResponse::Handled;
        });
    errno = 0;
    int bound = port;
    if (port == 0) {
        bound = server->bind_to_any_port(host);
    } else if (!server->bind_to_port(host, port)) {
        bound = -1;
    }
    if (bound <= 0) {
        const int why = errno;
        if (why == EADDRINUSE)
            return ServerStart::PortInUse;
        if (why == EACCES || why == EPERM)
            return ServerStart::NotPermitted;
        return ServerStart::Failed;
    }
    port_ = bound;
    httplib::Server* raw = server.get();
    listener_ = std::thread([raw] { (void)raw->listen_after_bind(); });
    // stop() only reaches a listener that runs; until then it would be lost.
    for (int i = 0; i < 2000 && !raw->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    server_ = std::move(server);
    return ServerStart::Started;
}

void PageServer::stop() {
    if (!server_)
        return;
    server_->stop();
    if (listener_.joinable())
        listener_.join();
    server_.reset();
    port_ = 0;
}

} // namespace quelna
