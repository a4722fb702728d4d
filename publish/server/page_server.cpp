#include "publish/server/page_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/v6_only.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/read.hpp>

#include <array>
#include <chrono>
#include <iterator>
#include <list>
#include <map>
#include <optional>
#include <thread>

#include "publish/server/http_answer.h"

namespace quelna {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

constexpr int kBacklog = 512;
// A connection's read buffer: a whole header block and a pipelined request's start beside it.
constexpr std::size_t kReadBuffer = 16 * 1024;
// After an answer that ends the connection, what the client still sends is read and dropped
// until it closes its side, for at most this long: closing with unread bytes would reset the
// connection and throw away answers still on their way to the client.
constexpr auto kLingerTime = std::chrono::seconds(5);
// At a limit, a connection gives way to a waiting newcomer only when its client has let it
// wait this long: a phone sends its request the moment it connects and reads its answer at once.
constexpr auto kPatience = std::chrono::seconds(1);
// How often connections waiting to be taken in are looked after.
constexpr auto kSweepTime = std::chrono::milliseconds(100);

class Connection;

// Everything the server's thread owns. Only that thread touches it while the server runs.
class ServerCore {
  public:
    ServerCore(const SnapshotSlot& slot, const ServerLimits& limits) : slot(slot), limits(limits) {}

    void accept();
    void closeAll();
    void forget(Connection& c);
    // Takes in waiting connections where there is room, and makes room for them by closing a
    // connection whose client kept it waiting; what a client has sent is always answered.
    void makeRoom();

    asio::io_context ioc{1}; // first, so that it goes last, with the handlers it still holds
    const SnapshotSlot& slot;
    const ServerLimits limits;
    tcp::acceptor acceptor{ioc};
    asio::steady_timer retry{ioc};
    std::list<std::weak_ptr<Connection>> connections;
    std::map<asio::ip::address, int> perAddress;
    std::thread thread;

  private:
    // A connection accepted at a limit: its request, if sent, waits in the kernel until then.
    struct Waiting {
        tcp::socket socket;
        asio::ip::address from;
        Clock::time_point since;
    };

    void admit(tcp::socket socket);
    void start(tcp::socket socket, const asio::ip::address& from);
    bool hasRoom(const asio::ip::address& from) const;
    void scheduleSweep();

    std::list<Waiting> waiting_;
    std::map<asio::ip::address, int> waitingPerAddress_;
    bool sweepScheduled_ = false;
    asio::steady_timer sweep_{ioc};
};

class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(tcp::socket socket, ServerCore& server, asio::ip::address from)
        : stream_(std::move(socket)), buffer_(kReadBuffer), server_(server), from_(from) {}

    void start() { waitForRequest(); }
    bool ended() const { return ended_; }
    // Closes at once; a pending read or write then ends with an error and lets go.
    void end();

    // How readily the connection gives way to a newcomer at a limit: 0 not at all (its request
    // has arrived, or its client is not yet overdue), higher sooner. Lingering after its last
    // answer first, then idle after an answer, then a client that connected and sent nothing,
    // trickles a request or does not read its answer.
    int readiness(Clock::time_point now);
    Clock::time_point waitingSince() const { return since_; }
    const asio::ip::address& from() const { return from_; }
    std::list<std::weak_ptr<Connection>>::iterator entry;

  private:
    void waitForRequest();
    void readHead();
    void readRequestLine();
    void readFields();
    void onHead(beast::error_code ec);
    void send(Answer answer);
    void linger();
    void drain();

    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::empty_body>> parser_;
    ServerCore& server_;
    asio::ip::address from_;
    Answer answer_;
    Clock::time_point since_ = Clock::now();
    int served_ = 0;
    bool writing_ = false;
    bool reading_ = false; // a request has begun
    bool lingering_ = false;
    bool ended_ = false;
};

int Connection::readiness(Clock::time_point now) {
    if (ended_)
        return 0;
    if (lingering_)
        return 5;
    const bool overdue = now - since_ >= kPatience;
    if (writing_)
        return overdue ? 1 : 0;
    beast::error_code ec;
    const std::size_t arrived = buffer_.size() + stream_.socket().available(ec);
    if (arrived > 0 && !reading_)
        return 0; // a request is here, to be answered
    if (reading_)
        return overdue && stream_.socket().available(ec) == 0 ? 2 : 0;
    if (served_ > 0)
        return 4;
    return overdue ? 3 : 0;
}

void Connection::end() {
    if (ended_)
        return;
    ended_ = true;
    server_.forget(*this);
    stream_.close();
}

// Idle until the first byte of the next request, which starts that request's own clock.
void Connection::waitForRequest() {
    reading_ = false;
    if (buffer_.size() > 0) // pipelined: the next request is already here
        return readHead();
    since_ = Clock::now();
    stream_.expires_after(std::chrono::seconds(server_.limits.idleSeconds));
    stream_.async_read_some(buffer_.prepare(4096),
                            [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                                if (ec || self->ended_)
                                    return self->end();
                                self->buffer_.commit(n);
                                self->readHead();
                            });
}

void Connection::readHead() {
    reading_ = true;
    since_ = Clock::now();
    stream_.expires_after(std::chrono::seconds(server_.limits.headerSeconds));
    readRequestLine();
}

// The request line is read whole before the parser sees it, so that its length is known.
void Connection::readRequestLine() {
    const std::string_view bytes(static_cast<const char*>(buffer_.data().data()),
                                 buffer_.data().size());
    const std::size_t lineEnd = bytes.find("\r\n");
    if (lineEnd > server_.limits.requestLine && bytes.size() > server_.limits.requestLine)
        return send(answerUnreadable(414));
    if (lineEnd != std::string_view::npos)
        return readFields();
    stream_.async_read_some(buffer_.prepare(2048),
                            [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                                if (ec || self->ended_)
                                    return self->end();
                                self->buffer_.commit(n);
                                self->readRequestLine();
                            });
}

void Connection::readFields() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(server_.limits.headerBytes));
    http::async_read_header(
        stream_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->onHead(ec); });
}

void Connection::onHead(beast::error_code ec) {
    if (ended_)
        return end();
    if (ec == http::error::header_limit || ec == http::error::buffer_overflow)
        return send(answerUnreadable(431));
    // A request the parser refuses gets 400; a client that went away or timed out, nothing.
    if (ec && ec.category() == http::make_error_code(http::error::bad_target).category() &&
        ec != http::error::end_of_stream && ec != http::error::partial_message)
        return send(answerUnreadable(400));
    if (ec)
        return end();
    const auto& request = parser_->get();
    RequestHead head;
    head.method = {request.method_string().data(), request.method_string().size()};
    head.target = {request.target().data(), request.target().size()};
    const auto accept = request[http::field::accept_encoding];
    head.acceptEncoding = {accept.data(), accept.size()};
    const auto tags = request[http::field::if_none_match];
    head.ifNoneMatch = {tags.data(), tags.size()};
    const auto cookie = request[http::field::cookie];
    head.cookie = {cookie.data(), cookie.size()};
    head.keepAlive = request.keep_alive();
    const auto length = parser_->content_length();
    head.hasBody = parser_->chunked() || (length && *length > 0);
    head.lastAllowed = ++served_ >= server_.limits.keepAliveRequests;
    head.fieldCount = static_cast<std::size_t>(std::distance(request.begin(), request.end()));
    send(answerRequest(head, server_.slot, server_.limits));
}

void Connection::send(Answer answer) {
    answer_ = std::move(answer);
    writing_ = true;
    reading_ = false;
    since_ = Clock::now();
    stream_.expires_after(std::chrono::seconds(server_.limits.writeSeconds));
    const std::array<asio::const_buffer, 2> buffers = {
        asio::buffer(answer_.head), asio::buffer(answer_.body.data(), answer_.body.size())};
    asio::async_write(stream_, buffers,
                      [self = shared_from_this()](beast::error_code ec, std::size_t) {
                          self->writing_ = false;
                          if (ec || self->ended_)
                              return self->end();
                          const bool close = self->answer_.close;
                          self->answer_ = {}; // lets go of the snapshot
                          if (close)
                              return self->linger();
                          self->waitForRequest();
                      });
}

// The answer is out and the connection ends: the server's side closes at once, and whatever
// the client still sends is read and dropped for a moment.
void Connection::linger() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    buffer_.consume(buffer_.size());
    lingering_ = true;
    since_ = Clock::now();
    stream_.expires_after(kLingerTime); // once: a trickle does not prolong it
    drain();
}

void Connection::drain() {
    stream_.async_read_some(buffer_.prepare(4096),
                            [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                                (void)n;
                                if (ec || self->ended_)
                                    return self->end();
                                self->drain();
                            });
}

void ServerCore::accept() {
    acceptor.async_accept([this](beast::error_code ec, tcp::socket socket) {
        if (ec == asio::error::operation_aborted)
            return; // stopping
        if (!ec) {
            admit(std::move(socket));
            return accept();
        }
        // Out of file descriptors, say: try again shortly rather than spin.
        retry.expires_after(std::chrono::milliseconds(50));
        retry.async_wait([this](beast::error_code waitError) {
            if (!waitError)
                accept();
        });
    });
}

bool ServerCore::hasRoom(const asio::ip::address& from) const {
    const auto count = perAddress.find(from);
    return (count == perAddress.end() || count->second < limits.perAddress) &&
           connections.size() < static_cast<std::size_t>(limits.connections);
}

// Over a limit the newcomer waits (its request, when sent, waits in the kernel) until a
// connection ends or is closed to make room; a client behind one address with many phones
// thus gets every request answered, and idle, trickling or non-reading clients cannot keep a
// phone out.
void ServerCore::admit(tcp::socket socket) {
    beast::error_code ec;
    const asio::ip::address from = socket.remote_endpoint(ec).address();
    if (ec)
        return;
    if (hasRoom(from) && waitingPerAddress_.count(from) == 0)
        return start(std::move(socket), from);
    // What may wait is bounded too: a flood from one address waits behind its own share.
    int& queued = waitingPerAddress_[from];
    if (queued >= 8 * limits.perAddress ||
        waiting_.size() >= static_cast<std::size_t>(limits.connections)) {
        if (queued == 0)
            waitingPerAddress_.erase(from);
        return;
    }
    ++queued;
    waiting_.push_back({std::move(socket), from, Clock::now()});
    makeRoom();
}

void ServerCore::start(tcp::socket socket, const asio::ip::address& from) {
    beast::error_code ec;
    socket.set_option(tcp::no_delay(true), ec); // head and body must not wait for an ack
    auto c = std::make_shared<Connection>(std::move(socket), *this, from);
    connections.push_front(c);
    c->entry = connections.begin();
    ++perAddress[from];
    c->start();
}

void ServerCore::makeRoom() {
    const Clock::time_point now = Clock::now();
    // The best connection to give way, per address and over all, found in one pass.
    struct Candidate {
        std::shared_ptr<Connection> c;
        int readiness = 0;
    };
    std::map<asio::ip::address, Candidate> byAddress;
    Candidate overall;
    auto better = [](const Candidate& a, int readiness, const Connection& c) {
        return readiness > a.readiness ||
               (readiness == a.readiness && c.waitingSince() < a.c->waitingSince());
    };
    if (!waiting_.empty())
        for (const std::weak_ptr<Connection>& w : connections) {
            std::shared_ptr<Connection> c = w.lock();
            const int r = c ? c->readiness(now) : 0;
            if (r == 0)
                continue;
            Candidate& mine = byAddress[c->from()];
            if (!mine.c || better(mine, r, *c))
                mine = {c, r};
            if (!overall.c || better(overall, r, *c))
                overall = {c, r};
        }
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        const asio::ip::address from = it->from;
        const bool tooLong =
            now - it->since > std::chrono::seconds(limits.idleSeconds + limits.headerSeconds);
        if (!tooLong && !hasRoom(from)) {
            // The address's own share first; past the overall limit, anyone's.
            const auto count = perAddress.find(from);
            const bool addressFull =
                count != perAddress.end() && count->second >= limits.perAddress;
            Candidate& victim = addressFull ? byAddress[from] : overall;
            if (victim.c && !victim.c->ended()) {
                victim.c->end();
                victim = {};
            }
        }
        if (!tooLong && !hasRoom(from)) {
            ++it;
            continue;
        }
        if (!tooLong)
            start(std::move(it->socket), from);
        if (--waitingPerAddress_[from] <= 0)
            waitingPerAddress_.erase(from);
        it = waiting_.erase(it);
    }
    scheduleSweep();
}

void ServerCore::scheduleSweep() {
    if (waiting_.empty() || sweepScheduled_)
        return;
    sweepScheduled_ = true;
    sweep_.expires_after(kSweepTime);
    sweep_.async_wait([this](beast::error_code ec) {
        sweepScheduled_ = false;
        if (!ec)
            makeRoom();
    });
}

void ServerCore::forget(Connection& c) {
    connections.erase(c.entry);
    const auto count = perAddress.find(c.from());
    if (count != perAddress.end() && --count->second <= 0)
        perAddress.erase(count);
    // A waiting newcomer is taken in at once, not at the next sweep.
    if (!waiting_.empty())
        asio::post(ioc, [this] {
            if (acceptor.is_open())
                makeRoom();
        });
}

void ServerCore::closeAll() {
    beast::error_code ignored;
    acceptor.close(ignored);
    retry.cancel();
    sweep_.cancel();
    waiting_.clear();
    waitingPerAddress_.clear();
    std::vector<std::shared_ptr<Connection>> all;
    for (const std::weak_ptr<Connection>& w : connections)
        if (auto c = w.lock())
            all.push_back(std::move(c));
    for (const auto& c : all)
        c->end();
}

ServerStart startFailure(const beast::error_code& ec) {
    if (ec == asio::error::address_in_use)
        return ServerStart::PortInUse;
#ifdef _WIN32
    // Windows has no privileged ports: a bind is refused with "access denied" when another
    // program holds the port for itself (SO_EXCLUSIVEADDRUSE, as this server does) or the system
    // keeps it for a service. Either way another program has it.
    if (ec == asio::error::access_denied)
        return ServerStart::PortInUse;
#endif
    if (ec == asio::error::access_denied || ec == asio::error::no_permission)
        return ServerStart::NotPermitted;
    if (ec == boost::system::errc::address_not_available)
        return ServerStart::AddressNotHere;
    return ServerStart::Failed;
}

} // namespace

class PageServer::Running : public ServerCore {
  public:
    using ServerCore::ServerCore;
};

PageServer::PageServer(const SnapshotSlot& slot, ServerLimits limits)
    : slot_(slot), limits_(limits) {}

PageServer::~PageServer() {
    stop();
}

static std::optional<boost::asio::ip::address> listenAddress(const std::string& host) {
    if (host == "localhost")
        return asio::ip::make_address_v4("127.0.0.1");
    std::string literal = host;
    if (literal.size() > 2 && literal.front() == '[' && literal.back() == ']')
        literal = literal.substr(1, literal.size() - 2);
    beast::error_code ec;
    const asio::ip::address address = asio::ip::make_address(literal, ec);
    if (ec)
        return std::nullopt;
    return address;
}

ServerStart PageServer::start(int port, const std::string& host) {
    stop();
    auto server = std::make_unique<Running>(slot_, limits_);
    beast::error_code ec;
    const std::optional<asio::ip::address> address = listenAddress(host);
    if (!address)
        return ServerStart::BadAddress;
    if (port < 0 || port > 65535)
        return ServerStart::Failed;
    const tcp::endpoint endpoint(*address, static_cast<unsigned short>(port));
    tcp::acceptor& acceptor = server->acceptor;
    acceptor.open(endpoint.protocol(), ec);
    if (ec)
        return ServerStart::Failed;
    // "::" takes IPv4 phones too, where the system allows it.
    if (address->is_v6() && address->is_unspecified())
        acceptor.set_option(asio::ip::v6_only(false), ec);
#ifdef _WIN32
    // Windows would let a second program take over a port with SO_REUSEADDR; this forbids it.
    BOOL exclusive = TRUE;
    ::setsockopt(acceptor.native_handle(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                 reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
#else
    // Restart at once on the same port, while old connections of the last run wind down.
    acceptor.set_option(tcp::acceptor::reuse_address(true), ec);
#endif
    acceptor.bind(endpoint, ec);
    if (!ec)
        acceptor.listen(kBacklog, ec);
    if (ec)
        return startFailure(ec);
    port_ = acceptor.local_endpoint(ec).port();
    server->accept();
    Running* raw = server.get();
    server->thread = std::thread([raw] {
        for (;;) {
            try {
                raw->ioc.run();
                return;
            } catch (...) {
                // A handler that threw (out of memory, say) costs its connection, not the server.
            }
        }
    });
    running_ = std::move(server);
    return ServerStart::Started;
}

void PageServer::stop() {
    if (!running_)
        return;
    Running* raw = running_.get();
    asio::post(raw->ioc, [raw] {
        raw->closeAll();
        raw->ioc.stop();
    });
    raw->thread.join();
    running_.reset();
    port_ = 0;
}

} // namespace quelna
