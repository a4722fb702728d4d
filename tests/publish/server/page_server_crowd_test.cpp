// The page server behind one address (a venue router that translates addresses): every request
// that arrived is answered, clients that never read cannot keep a phone out, and a pipelining
// client closed at the request limit gets every answer sent before. Then the served site: the
// personal pages by start number and the language by query and cookie.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "../played_tournament.h"
#include "publish/player_pages.h"
#include "publish/server/page_server.h"
#include "support/http_client.h"

namespace {

using namespace quelna;
using test_support::HttpClient;

class OneAddress : public ::testing::Test {
  protected:
    void SetUp() override {
        record = std::make_unique<Tournament>(test::playedTournament(48, 4, 3, true));
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
    // All connect and ask before any reads: far over the 32 connections one address may hold.
    std::vector<std::unique_ptr<HttpClient>> phones;
    for (int i = 0; i < 200; ++i) {
        phones.push_back(std::make_unique<HttpClient>(server.port()));
        ASSERT_TRUE(phones.back()->send("GET /p/" + std::to_string(i % 48 + 1) +
                                        " HTTP/1.1\r\nHost: x\r\nAccept-Encoding: gzip\r\n\r\n"));
    }
    int answered = 0;
    for (auto& phone : phones) {
        const auto reply = phone->read();
        answered += reply && reply->status == 200;
    }
    EXPECT_EQ(answered, 200);
}

TEST_F(OneAddress, ClientsThatNeverReadDoNotKeepAPhoneOut) {
    // 32 clients fill the address's share with pipelined requests whose answers they never read.
    std::string burst;
    for (int i = 0; i < 100; ++i)
        burst += "GET /standings.html HTTP/1.1\r\nHost: x\r\n\r\n";
    std::vector<std::unique_ptr<HttpClient>> stuck;
    for (int i = 0; i < 32; ++i) {
        stuck.push_back(std::make_unique<HttpClient>(server.port()));
        ASSERT_TRUE(stuck.back()->send(burst));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int i = 0; i < 3; ++i) {
        HttpClient phone(server.port());
        const auto reply = phone.get("/", "Connection: close\r\n");
        ASSERT_TRUE(reply) << "phone " << i;
        EXPECT_EQ(reply->status, 200);
    }
}

TEST_F(OneAddress, APipelinerClosedAtTheLimitGetsEveryAnswer) {
    // 100 requests are answered, the last with close; what follows them is read and dropped,
    // not answered with a reset that would destroy answers still on their way.
    std::string burst;
    for (int i = 0; i < 1500; ++i)
        burst += "GET /index.html HTTP/1.1\r\nHost: x\r\n\r\n";
    HttpClient client(server.port());
    ASSERT_TRUE(client.send(burst));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the server fills the pipe
    int answers = 0;
    std::string lastConnection;
    for (int i = 0; i < 100; ++i) {
        const auto reply = client.read();
        if (!reply)
            break;
        ++answers;
        lastConnection = reply->header("Connection");
        EXPECT_EQ(reply->body, pages[0].indexHtml);
    }
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
