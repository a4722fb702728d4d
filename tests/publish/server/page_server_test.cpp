// The players' page server on 127.0.0.1 only: a real HTTP client (QNetworkAccessManager) for the
// pages, raw sockets for malformed requests, and a bounded load run while a 200-player round is
// being seated.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

#include "../played_tournament.h"
#include "core/text.h"
#include "publish/player_pages.h"
#include "publish/server/page_server.h"
#include "support/http_client.h"

namespace {

using namespace quelna;

struct Reply {
    int status = 0;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QHash<QByteArray, QByteArray> headers; // lower-case names
};

Reply fetch(const QByteArray& method, int port, const QString& path, const QByteArray& body = {}) {
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QStringLiteral(u"http://127.0.0.1:%1%2").arg(port).arg(path)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    // HEAD through its own call: as a custom verb Qt would wait for a body.
    QNetworkReply* reply =
        method == "HEAD" ? manager.head(request) : manager.sendCustomRequest(request, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    Reply r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.body = reply->readAll();
    r.error = reply->error();
    for (const auto& [name, value] : reply->rawHeaderPairs())
        r.headers.insert(name.toLower(), value);
    delete reply;
    return r;
}

// Sends raw bytes and returns everything the server answers until it closes or goes quiet.
QByteArray rawExchange(int port, const QByteArray& bytes) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral(u"127.0.0.1"), static_cast<quint16>(port));
    if (!socket.waitForConnected(5000))
        return "no connection";
    socket.write(bytes);
    socket.waitForBytesWritten(5000);
    QByteArray answer;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(3000))
        answer += socket.readAll();
    return answer + socket.readAll();
}

class PageServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        record = std::make_unique<Tournament>(
            test::tournamentAwaitingResults(16, 4, 2, test::Seed{7}, test::Teams::With));
        ASSERT_EQ(record->currentRound, 2);
        pages = renderPlayerPages(*record, utf8ToCp1251("Кубок"));
        slot.publish(makePageSnapshot(pages));
        ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);
        port = server.port();
        ASSERT_GT(port, 0);
    }

    std::unique_ptr<Tournament> record;
    PlayerPages pages;
    SnapshotSlot slot;
    PageServer server{slot};
    int port = 0;
};

TEST_F(PageServerTest, ServesTheFourPagesWithTheirHeaders) {
    const std::pair<QString, const std::string*> paths[] = {
        {QStringLiteral(u"/"), &pages.indexHtml},
        {QStringLiteral(u"/index.html"), &pages.indexHtml},
        {QStringLiteral(u"/standings.html"), &pages.standingsHtml},
        {QStringLiteral(u"/teams.html"), &pages.teamsHtml},
        {QStringLiteral(u"/seating.json"), &pages.seatingJson},
        {QStringLiteral(u"/index.html?round=1&delete=all"), &pages.indexHtml},
    };
    for (const auto& [path, expected] : paths) {
        SCOPED_TRACE(path.toStdString());
        const Reply r = fetch("GET", port, path);
        ASSERT_EQ(r.status, 200);
        EXPECT_EQ(r.body.toStdString(), *expected);
        const QByteArray type = path.contains(u".json") ? "application/json; charset=utf-8"
                                                        : "text/html; charset=utf-8";
        EXPECT_EQ(r.headers.value("content-type"), type);
        EXPECT_EQ(r.headers.value("cache-control"), "no-cache");
        EXPECT_EQ(r.headers.value("x-content-type-options"), "nosniff");
        EXPECT_EQ(r.headers.value("content-security-policy").toStdString(),
                  contentSecurityPolicy());
    }

    // The JSON, read by Qt's own parser, is the latest round of the record.
    const QJsonObject json =
        QJsonDocument::fromJson(fetch("GET", port, u"/seating.json"_qs).body).object();
    EXPECT_EQ(json.value(u"round"_qs).toInt(), 2);
    EXPECT_EQ(json.value(u"title"_qs).toString(), u"Кубок"_qs);
    const QJsonArray tables = json.value(u"tables"_qs).toArray();
    ASSERT_EQ(tables.size(), 4);
    for (int tb = 0; tb < 4; ++tb) {
        const QJsonObject table = tables.at(tb).toObject();
        EXPECT_EQ(table.value(u"table"_qs).toInt(), tb + 1);
        const QJsonArray players = table.value(u"players"_qs).toArray();
        ASSERT_EQ(players.size(), 4);
        for (int s = 0; s < 4; ++s) {
            const QJsonObject p = players.at(s).toObject();
            const int slotOfPlayer = record->playerAt(1, tb, s);
            EXPECT_EQ(p.value(u"seat"_qs).toInt(), s + 1);
            EXPECT_EQ(p.value(u"number"_qs).toInt(), record->playerNumber[slotOfPlayer] + 1);
            EXPECT_EQ(p.value(u"name"_qs).toString().toStdString(),
                      cp1251ToUtf8(record->names[slotOfPlayer]));
            EXPECT_EQ(p.value(u"team"_qs).toString().toStdString(),
                      cp1251ToUtf8(record->teams.name(record->team[slotOfPlayer])));
        }
    }

    // HEAD: the headers of GET, no body; the length is that of the page (asked without
    // compression, which Qt's client asks for and then hides the length of).
    const Reply head = fetch("HEAD", port, u"/standings.html"_qs);
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.body.isEmpty());
    EXPECT_EQ(head.headers.value("content-type"), "text/html; charset=utf-8");
    const QByteArray rawHead =
        rawExchange(port, "HEAD /standings.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_TRUE(rawHead.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_NE(rawHead.indexOf("\r\nContent-Length: " +
                              QByteArray::number(qsizetype(pages.standingsHtml.size())) + "\r\n"),
              -1);
    EXPECT_TRUE(rawHead.endsWith("\r\n\r\n")) << "nothing after the headers";

    // A new snapshot is what the next request sees.
    PlayerPages changed = pages;
    changed.teamsHtml = "<p>new</p>";
    slot.publish(makePageSnapshot(changed));
    EXPECT_EQ(fetch("GET", port, u"/teams.html"_qs).body, "<p>new</p>");
}

TEST_F(PageServerTest, RefusesWhatItDoesNotServe) {
    for (const QString& path : {u"/missing"_qs, u"/index.htm"_qs, u"/../../etc/passwd"_qs,
                                u"/%2e%2e/quelna.ini"_qs, u"/publish/player_pages.cpp"_qs}) {
        const Reply r = fetch("GET", port, path);
        EXPECT_EQ(r.status, 404) << path.toStdString();
        EXPECT_EQ(r.headers.value("x-content-type-options"), "nosniff");
    }
    for (const QByteArray& method :
         {QByteArray("POST"), QByteArray("PUT"), QByteArray("DELETE"), QByteArray("OPTIONS")}) {
        const Reply r = fetch(method, port, u"/index.html"_qs, "round=9");
        EXPECT_EQ(r.status, 405) << method.toStdString();
        EXPECT_EQ(r.headers.value("allow"), "GET, HEAD");
    }

    // Malformed request lines are answered with 400 or dropped, never served.
    for (const QByteArray& line : {QByteArray("GARBAGE\r\n\r\n"), QByteArray("GET\r\n\r\n"),
                                   QByteArray("GET /index.html HTTP/9.9 extra\r\n\r\n"),
                                   QByteArray("\x01\x02\x03 / HTTP/1.1\r\n\r\n")}) {
        const QByteArray answer = rawExchange(port, line);
        EXPECT_FALSE(answer.startsWith("HTTP/1.1 200")) << answer.left(40).toStdString();
        EXPECT_TRUE(answer.isEmpty() || answer.startsWith("HTTP/1.1 400")) << answer.toStdString();
    }
    // A header block over 8 KB and too many header fields.
    const QByteArray longHeader =
        "GET / HTTP/1.1\r\nHost: x\r\nX-Long: " + QByteArray(20000, 'a') + "\r\n\r\n";
    const QByteArray longAnswer = rawExchange(port, longHeader);
    EXPECT_TRUE(longAnswer.startsWith("HTTP/1.1 431")) << longAnswer.left(60).toStdString();
    QByteArray many = "GET / HTTP/1.1\r\nHost: x\r\n";
    for (int i = 0; i < 100; ++i)
        many += "X-" + QByteArray::number(i) + ": 1\r\n";
    EXPECT_TRUE(rawExchange(port, many + "\r\n").startsWith("HTTP/1.1 431"));
    // A request that never ends is cut off by the read timeout; meanwhile others are served.
    QTcpSocket slow;
    slow.connectToHost(u"127.0.0.1"_qs, static_cast<quint16>(port));
    ASSERT_TRUE(slow.waitForConnected(5000));
    slow.write("GET /index.html HTTP/1.1\r\nHost: x\r\n");
    slow.waitForBytesWritten(1000);
    EXPECT_EQ(fetch("GET", port, u"/"_qs).status, 200);

    // After all that the server still answers.
    EXPECT_EQ(fetch("GET", port, u"/seating.json"_qs).body.toStdString(), pages.seatingJson);
}

TEST_F(PageServerTest, APortInUseIsReportedAndStopEndsListening) {
    SnapshotSlot other;
    PageServer second(other);
    EXPECT_EQ(second.start(port, "127.0.0.1"), ServerStart::PortInUse);
    EXPECT_FALSE(second.running());

    server.stop();
    EXPECT_FALSE(server.running());
    const Reply r = fetch("GET", port, u"/"_qs);
    EXPECT_EQ(r.error, QNetworkReply::ConnectionRefusedError);
    server.stop(); // twice is harmless
}

// 10,000 requests from 8 clients over the four paths, while a 200-player round is seated again
// and again on another thread and new snapshots are swapped in. Every answer must be one of the
// snapshots' bodies, whole; the figures are printed, not asserted.
TEST(PageServerLoad, TenThousandRequestsWhileSeating) {
    Tournament t = test::tournamentAwaitingResults(200, 12, 3, test::Seed{7}, test::Teams::With);
    ASSERT_EQ(t.currentRound, 3);
    const PlayerPages before = renderPlayerPages(t, "");
    PlayerPages other = before;
    other.indexHtml += "<!-- 2 -->";
    other.seatingJson += " ";
    SnapshotSlot slot;
    slot.publish(makePageSnapshot(before));
    PageServer server(slot);
    ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);

    std::atomic<bool> clientsDone{false};
    std::atomic<int> seatings{0};
    std::atomic<bool> seatingFailed{false};
    std::thread seater([&] {
        do {
            Tournament copy = t; // the worker writes its record; the server never sees it
            if (!test::seatBounded(copy, 20000, 400000) || copy.currentRound != 4)
                seatingFailed = true;
            ++seatings;
        } while (!clientsDone && !seatingFailed);
    });

    constexpr int kClients = 8;
    constexpr int kPerClient = 1250;
    const char* paths[] = {"/", "/standings.html", "/teams.html", "/seating.json"};
    std::vector<std::vector<double>> latencies(kClients);
    std::atomic<int> bad{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            test_support::HttpClient client(server.port());
            for (int i = 0; i < kPerClient; ++i) {
                const int k = (i + c) % 4;
                const auto sent = std::chrono::steady_clock::now();
                const auto res = client.get(paths[k]);
                latencies[c].push_back(std::chrono::duration<double, std::milli>(
                                           std::chrono::steady_clock::now() - sent)
                                           .count());
                const std::string* bodies[4][2] = {{&before.indexHtml, &other.indexHtml},
                                                   {&before.standingsHtml, &other.standingsHtml},
                                                   {&before.teamsHtml, &other.teamsHtml},
                                                   {&before.seatingJson, &other.seatingJson}};
                const bool whole =
                    res && res->status == 200 &&
                    (res->body == *bodies[k][0] || res->body == *bodies[k][1]) &&
                    res->header("Content-Type").find("charset=utf-8") != std::string::npos;
                if (!whole)
                    ++bad;
            }
        });
    }
    // The user-interface thread's part: a new snapshot after each "refresh".
    const auto beforeSnapshot = makePageSnapshot(before);
    const auto otherSnapshot = makePageSnapshot(other);
    std::atomic<bool> swapping{true};
    std::thread publisher([&] {
        for (int i = 0; swapping; ++i) {
            slot.publish(i % 2 ? beforeSnapshot : otherSnapshot);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    for (std::thread& c : clients)
        c.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    clientsDone = true;
    swapping = false;
    publisher.join();
    seater.join();
    server.stop();

    std::vector<double> all;
    for (const auto& l : latencies)
        all.insert(all.end(), l.begin(), l.end());
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kClients * kPerClient));
    std::sort(all.begin(), all.end());
    const double p99 = all[all.size() * 99 / 100];
    EXPECT_EQ(bad.load(), 0);
    EXPECT_FALSE(seatingFailed.load());
    EXPECT_GE(seatings.load(), 1);
    std::cout << "load: " << all.size() << " requests from " << kClients << " clients in "
              << seconds << " s = " << all.size() / seconds << " requests/s, p50 "
              << all[all.size() / 2] << " ms, p99 " << p99 << " ms, max " << all.back()
              << " ms; 200-player seatings completed meanwhile: " << seatings.load() << '\n';
}

} // namespace
