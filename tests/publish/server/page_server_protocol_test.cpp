// The page server's answers byte by byte on raw connections (127.0.0.1): stored encodings,
// entity tags, refusals and their closing, pipelining; then its limits on hostile clients and a
// stop that does not wait for them.
#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <thread>

#include "../played_tournament.h"
#include "publish/player_pages.h"
#include "publish/server/page_server.h"
#include "support/http_client.h"

namespace {

using namespace quelna;
using test_support::HttpClient;

std::string gunzip(const std::string& bytes) {
    z_stream z{};
    inflateInit2(&z, 15 + 16);
    std::string out(1 << 20, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const bool ok = inflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(ok ? z.total_out : 0);
    inflateEnd(&z);
    return out;
}

class PageServerProtocol : public ::testing::Test {
  protected:
    void SetUp() override {
        record = std::make_unique<Tournament>(
            test::tournamentAwaitingResults(48, 4, 2, test::Seed{7}, test::Teams::With));
        pages = renderPlayerPages(*record, "");
        snapshot = makePageSnapshot(pages);
        slot.publish(snapshot);
        ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);
    }
    std::unique_ptr<Tournament> record;
    PlayerPages pages;
    std::shared_ptr<const PageSnapshot> snapshot;
    SnapshotSlot slot;
    ServerLimits limits;
    PageServer server{slot, limits};
};

TEST_F(PageServerProtocol, AnswersFromTheStoredForms) {
    const ServedPage& index = snapshot->sites[0].pages[0];
    ASSERT_FALSE(index.gzip.empty());
    EXPECT_EQ(gunzip(index.gzip), pages.indexHtml);
    const std::string tag = index.etag(Encoding::Identity);
    std::string ranges = "Range: bytes=0-";
    for (int i = 0; i < 2400; ++i)
        ranges += ",0-";
    ranges += "\r\n";
    struct Case {
        const char* name;
        std::string fields;
        int status;
        const char* encoding;
        const std::string* body; // null: no body
    };
    const Case cases[] = {
        {"plain", "", 200, "", &index.identity},
        {"phone", "Accept-Encoding: gzip, deflate, br\r\n", 200, "gzip", &index.gzip},
        {"gzip only", "Accept-Encoding: gzip\r\n", 200, "gzip", &index.gzip},
        {"refused", "Accept-Encoding: gzip;q=0.0, br\r\n", 200, "", &index.identity},
        {"same tag", "If-None-Match: " + tag + "\r\n", 304, "", nullptr},
        {"weak tag of gzip", "If-None-Match: \"x\", W/" + index.etag(Encoding::Gzip) + "\r\n", 304,
         "", nullptr},
        {"other tag", "If-None-Match: \"0123\"\r\n", 200, "", &index.identity},
        {"ranges ignored", ranges, 200, "", &index.identity},
    };
    HttpClient client(server.port());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto reply = client.get("/", c.fields);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, c.status);
        EXPECT_EQ(reply->header("Content-Encoding"), c.encoding);
        EXPECT_EQ(reply->header("Vary"), "Accept-Encoding, Cookie");
        EXPECT_EQ(reply->header("Cache-Control"), "no-cache");
        EXPECT_EQ(reply->header("Content-Range"), "");
        EXPECT_FALSE(reply->header("ETag").empty());
        EXPECT_EQ(reply->body, c.body ? *c.body : "");
    }
}

TEST_F(PageServerProtocol, RefusalsEndTheConnectionAtOnce) {
    std::string manyFields;
    for (int i = 0; i < 65; ++i)
        manyFields += "X-" + std::to_string(i) + ": 1\r\n";
    const struct {
        std::string request;
        int status;
    } cases[] = {
        {"GET / HTTP/1.1\r\nHost: x\r\n" + manyFields + "\r\n", 431},
        {"GET / HTTP/1.1\r\nHost: x\r\nX-Long: " + std::string(8200, 'a') + "\r\n\r\n", 431},
        {"GET /" + std::string(2100, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n", 414},
        {"POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\nabc", 405},
        {"GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nhello", 200},
        {"GET / HTTP/1.0\r\n\r\n", 200},
        {"BAD\r\n\r\n", 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request.substr(0, 40));
        HttpClient client(server.port());
        const auto start = std::chrono::steady_clock::now();
        const auto reply = client.exchange(c.request);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, c.status);
        EXPECT_EQ(reply->header("Connection"), "close");
        EXPECT_TRUE(client.closedByServer(1500));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500))
            << "closed at once, not after the idle time";
    }
    // 64 fields are still fine.
    HttpClient client(server.port());
    std::string fields;
    for (int i = 0; i < 63; ++i)
        fields += "X-" + std::to_string(i) + ": 1\r\n";
    EXPECT_EQ(client.get("/", fields)->status, 200);

    // Pipelined requests are answered in order on the one connection.
    const auto first = client.exchange("GET /teams.html HTTP/1.1\r\nHost: x\r\n\r\n"
                                       "HEAD /seating.json HTTP/1.1\r\nHost: x\r\n\r\n"
                                       "GET /standings.html HTTP/1.1\r\nHost: x\r\n\r\n");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->body, pages.teamsHtml);
    const auto second = client.read(true);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->header("Content-Type"), "application/json; charset=utf-8");
    const auto third = client.read();
    ASSERT_TRUE(third);
    EXPECT_EQ(third->body, pages.standingsHtml);
}

// Small limits so that the test stays small: two connections per address, a one-second header.
TEST(PageServerLimits, TricklersAreCutOffIdlersMakeRoomAndStopIsQuick) {
    SnapshotSlot slot;
    slot.publish(makePageSnapshot(renderPlayerPages(
        test::tournamentAwaitingResults(12, 2, 1, test::Seed{7}, test::Teams::Without), "")));
    ServerLimits limits;
    limits.perAddress = 2;
    limits.headerSeconds = 1;
    PageServer server(slot, limits);
    ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);

    // A request trickled a byte every 100 ms is cut off after a second, not served.
    HttpClient trickler(server.port());
    ASSERT_TRUE(trickler.send("GET / HTTP/1.1\r\n"));
    const auto start = std::chrono::steady_clock::now();
    bool cut = false;
    for (int i = 0; i < 40 && !cut; ++i) {
        (void)trickler.send("X");
        cut = trickler.closedByServer(100);
    }
    EXPECT_TRUE(cut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

    // Two idle connections fill this address's share; a third client is still served, and the
    // longest-waiting idle one made room.
    HttpClient idle1(server.port()), idle2(server.port());
    ASSERT_TRUE(idle1.send(""));
    ASSERT_TRUE(idle2.send(""));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    HttpClient phone(server.port());
    const auto reply = phone.get("/");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_TRUE(idle1.closedByServer());

    // Stop with connections open and a request half sent.
    std::vector<std::unique_ptr<HttpClient>> open;
    for (int i = 0; i < 20; ++i) {
        open.push_back(std::make_unique<HttpClient>(server.port()));
        (void)open.back()->send("GET / HTTP/1.1\r\nHost");
    }
    const auto stopping = std::chrono::steady_clock::now();
    server.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(1));
    EXPECT_FALSE(server.running());
}

} // namespace
