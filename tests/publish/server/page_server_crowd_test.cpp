// The page server behind one address (a venue router that translates addresses): every request
// that arrived is answered, clients that never read cannot keep a phone out, and a pipelining
// client closed at the request limit gets every answer sent before. Then the served site: the
// personal pages by start number and the language by query and cookie.
#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/write.hpp>

#ifndef _WIN32
#include <poll.h>
#endif

#include <memory>
#include <regex>
#include <thread>
#include <vector>

#include "../played_tournament.h"
#include "publish/player_pages.h"
#include "publish/server/page_server.h"
#include "support/http_client.h"

namespace {

using namespace quelna;
using test_support::HttpClient;
namespace asio = boost::asio;
using tcp = asio::ip::tcp;

// True when the socket has something to read within `ms` milliseconds.
bool readableWithin(tcp::socket& socket, int ms) {
#ifdef _WIN32
    WSAPOLLFD p{socket.native_handle(), POLLIN, 0};
    return ::WSAPoll(&p, 1, ms) == 1;
#else
    pollfd p{socket.native_handle(), POLLIN, 0};
    return ::poll(&p, 1, ms) == 1;
#endif
}

// A client with a small receive window, so that what the server sends soon waits on it.
struct NarrowClient {
    explicit NarrowClient(int port) {
        socket.open(tcp::v4());
        socket.set_option(asio::socket_base::receive_buffer_size(4096));
        socket.connect({asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
    }
    // One answer's status and Connection field; status 0 when the connection broke.
    std::pair<int, std::string> read() {
        boost::system::error_code ec;
        const std::size_t size = asio::read_until(socket, buffer, "\r\n\r\n", ec);
        if (ec)
            return {0, ""};
        std::string head(size, '\0');
        buffer.sgetn(head.data(), static_cast<std::streamsize>(size));
        std::smatch m;
        const std::size_t length =
            std::regex_search(head, m, std::regex("Content-Length: (\\d+)")) ? std::stoul(m[1]) : 0;
        if (buffer.size() < length)
            asio::read(socket, buffer, asio::transfer_exactly(length - buffer.size()), ec);
        if (ec)
            return {0, ""};
        buffer.consume(length);
        return {std::stoi(head.substr(9, 3)),
                std::regex_search(head, m, std::regex("Connection: (\\w+)")) ? m[1].str() : ""};
    }
    asio::io_context io;
    tcp::socket socket{io};
    asio::streambuf buffer;
};

class OneAddress : public ::testing::Test {
  protected:
    void SetUp() override {
        record = std::make_unique<Tournament>(
            test::tournamentAwaitingResults(48, 4, 3, test::Seed{7}, test::Teams::With));
        pages = renderServedPages(*record, "");
        slot.publish(makePageSnapshot(pages));
        ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);
    }
    std::unique_ptr<Tournament> record;
    std::array<PlayerPages, 2> pages;
    SnapshotSlot slot;
    PageServer server{slot};
};

TEST_F(OneAddress, TwoHundredPhonesAreAllAnswered) {
    // All connect, then all ask, then all read: far over the 32 connections one address may hold.
    std::vector<std::unique_ptr<HttpClient>> phones;
    for (int i = 0; i < 200; ++i) {
        phones.push_back(std::make_unique<HttpClient>(server.port()));
        ASSERT_TRUE(phones.back()->send(""));
    }
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(phones[i]->send("GET /p/" + std::to_string(i % 48 + 1) +
                                    " HTTP/1.1\r\nHost: x\r\nAccept-Encoding: gzip\r\n\r\n"));
    int answered = 0;
    for (auto& phone : phones) {
        const auto reply = phone->read();
        answered += reply && reply->status == 200;
    }
    EXPECT_EQ(answered, 200);
}

TEST(OneAddressLargePages, ClientsThatNeverReadDoNotKeepAPhoneOut) {
    // Pages of 200 KB, so that the answers of 100 requests are far more than the system buffers
    // between server and client hold.
    PlayerPages large;
    large.indexHtml = std::string(200000, 'x');
    SnapshotSlot slot;
    slot.publish(makePageSnapshot(large));
    // A minute before a stalled answer is given up, so only making room lets a phone in.
    ServerLimits limits;
    limits.writeSeconds = 60;
    PageServer server(slot, limits);
    ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);
    // 32 clients fill the address's share with pipelined requests whose answers they never read.
    std::string burst;
    for (int i = 0; i < 100; ++i)
        burst += "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
    std::vector<std::unique_ptr<NarrowClient>> stuck;
    for (int i = 0; i < 32; ++i) {
        stuck.push_back(std::make_unique<NarrowClient>(server.port()));
        asio::write(stuck.back()->socket, asio::buffer(burst));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int i = 0; i < 3; ++i) {
        NarrowClient phone(server.port());
        asio::write(phone.socket, asio::buffer(std::string("GET /seating.json HTTP/1.1\r\n\r\n")));
        ASSERT_TRUE(readableWithin(phone.socket, 20000)) << "phone " << i << " kept out";
        EXPECT_EQ(phone.read().first, 200);
    }
}

TEST_F(OneAddress, APipelinerClosedAtTheLimitGetsEveryAnswer) {
    // 100 requests are answered, the last with close; what follows them is read and dropped,
    // not answered with a reset that would destroy answers still on their way to a slow reader.
    std::string burst;
    for (int i = 0; i < 6000; ++i)
        burst += "GET /index.html HTTP/1.1\r\nHost: x\r\n\r\n";
    NarrowClient client(server.port());
    std::thread writer([&] {
        boost::system::error_code ignored;
        asio::write(client.socket, asio::buffer(burst), ignored);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    int answers = 0;
    std::string lastConnection;
    for (int i = 0; i < 100; ++i) {
        const auto [status, connection] = client.read();
        if (status != 200)
            break;
        ++answers;
        lastConnection = connection;
    }
    writer.join();
    EXPECT_EQ(answers, 100);
    EXPECT_EQ(lastConnection, "close");
}

TEST_F(OneAddress, PersonalPagesAndTheLanguage) {
    HttpClient phone(server.port());
    const std::string n = std::to_string(record->playerNumber[7] + 1);
    auto reply = phone.get("/p/" + n);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_EQ(reply->body, pages[0].personalHtml.at(std::stoi(n)));
    EXPECT_EQ(reply->header("Set-Cookie"), "");

    // ?lang=en answers in English and asks the phone to remember it; the cookie then does.
    reply = phone.get("/p/" + n + "?lang=en");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->body, pages[1].personalHtml.at(std::stoi(n)));
    EXPECT_EQ(reply->header("Set-Cookie"), "lang=en; Path=/; Max-Age=31536000; SameSite=Lax");
    const struct {
        std::string path, fields;
        const std::string* body;
    } cases[] = {{"/standings.html", "Cookie: a=b; lang=en\r\n", &pages[1].standingsHtml},
                 {"/my.html", "Cookie: lang=en\r\n", &pages[1].myHtml},
                 {"/my.html?lang=ru", "Cookie: lang=en\r\n", &pages[0].myHtml},
                 {"/?x=1&lang=en", "", &pages[1].indexHtml},
                 {"/teams.html", "Cookie: lang=de\r\n", &pages[0].teamsHtml},
                 {"/index.html?lang=xx", "", &pages[0].indexHtml}};
    for (const auto& c : cases) {
        reply = phone.get(c.path, c.fields);
        ASSERT_TRUE(reply) << c.path;
        EXPECT_EQ(reply->status, 200) << c.path;
        EXPECT_EQ(reply->body, *c.body) << c.path << ' ' << c.fields;
    }
    for (const std::string path :
         {"/p/0", "/p/049", "/p/+1", "/p/49", "/p/", "/p/1/", "/p", "/p/99999999999999999999"}) {
        reply = phone.get(path);
        ASSERT_TRUE(reply) << path;
        EXPECT_EQ(reply->status, 404) << path;
    }
}

} // namespace
