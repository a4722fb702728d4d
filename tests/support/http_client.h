#pragma once
// A plain HTTP/1.1 client for tests of the page server: raw requests on one connection (kept
// alive between them unless the server says close), answers split into status, header block and
// body. 127.0.0.1 only.
#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/write.hpp>

#ifdef _WIN32
#include <winsock2.h> // WSAPoll
#else
#include <poll.h>
#endif

#include <optional>
#include <string>
#include <string_view>

namespace test_support {

struct HttpReply {
    int status = 0;
    std::string head; // status line and fields, up to the blank line
    std::string body;

    // The value of a header field (name in any case), or "" when absent.
    std::string header(std::string_view name) const {
        std::size_t at = head.find("\r\n");
        while (at != std::string::npos && at + 2 < head.size()) {
            const std::size_t end = head.find("\r\n", at + 2);
            const std::string line = head.substr(at + 2, end - at - 2);
            const std::size_t colon = line.find(':');
            if (colon == name.size()) {
                bool same = true;
                for (std::size_t i = 0; i < colon; ++i)
                    same = same && (line[i] | 0x20) == (name[i] | 0x20);
                if (same)
                    return line.substr(line.find_first_not_of(' ', colon + 1));
            }
            at = end;
        }
        return {};
    }
};

class HttpClient {
  public:
    explicit HttpClient(int port) : port_(port) {}

    // Sends bytes as they are, connecting first when needed (or the server said close).
    bool send(const std::string& bytes) {
        boost::system::error_code ec;
        if (reconnect_)
            close();
        reconnect_ = false;
        if (!socket_.is_open()) {
            buffer_.consume(buffer_.size());
            socket_.connect(
                {boost::asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port_)},
                ec);
            if (ec)
                return false;
        }
        boost::asio::write(socket_, boost::asio::buffer(bytes), ec);
        return !ec;
    }

    // Sends bytes and reads one answer (no body after HEAD or 304).
    std::optional<HttpReply> exchange(const std::string& bytes, bool headOnly = false) {
        return send(bytes) ? read(headOnly) : std::nullopt;
    }

    // A GET as a browser sends it, with extra fields (each ending in CR LF) if given.
    std::optional<HttpReply> get(const std::string& path, const std::string& fields = {}) {
        return exchange("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + fields + "\r\n");
    }

    // One more answer on the connection (pipelined requests).
    std::optional<HttpReply> read(bool headOnly = false) {
        boost::system::error_code ec;
        const std::size_t headSize = boost::asio::read_until(socket_, buffer_, "\r\n\r\n", ec);
        if (ec)
            return close();
        HttpReply reply;
        reply.head.resize(headSize);
        buffer_.sgetn(reply.head.data(), static_cast<std::streamsize>(headSize));
        reply.status = std::stoi(reply.head.substr(9, 3));
        const std::string length = reply.header("Content-Length");
        const std::size_t size = headOnly || length.empty() ? 0 : std::stoul(length);
        if (buffer_.size() < size)
            boost::asio::read(socket_, buffer_,
                              boost::asio::transfer_exactly(size - buffer_.size()), ec);
        if (ec)
            return close();
        reply.body.resize(size);
        buffer_.sgetn(reply.body.data(), static_cast<std::streamsize>(size));
        // The next request goes on a new connection.
        reconnect_ = reconnect_ || reply.header("Connection") == "close";
        return reply;
    }

    // True when the server closes the connection within the time (nothing else arrives).
    bool closedByServer(int milliseconds = 2000) {
        if (!socket_.is_open())
            return false;
#ifdef _WIN32
        WSAPOLLFD p{socket_.native_handle(), POLLRDNORM, 0};
        if (::WSAPoll(&p, 1, milliseconds) != 1)
            return false;
#else
        pollfd p{socket_.native_handle(), POLLIN, 0};
        if (::poll(&p, 1, milliseconds) != 1)
            return false;
#endif
        boost::system::error_code ec;
        char c;
        socket_.read_some(boost::asio::buffer(&c, 1), ec);
        return ec == boost::asio::error::eof || ec == boost::asio::error::connection_reset;
    }

  private:
    std::optional<HttpReply> close() {
        boost::system::error_code ignored;
        socket_.close(ignored);
        return std::nullopt;
    }

    int port_;
    bool reconnect_ = false;
    boost::asio::io_context io_;
    boost::asio::ip::tcp::socket socket_{io_};
    boost::asio::streambuf buffer_;
};

} // namespace test_support
