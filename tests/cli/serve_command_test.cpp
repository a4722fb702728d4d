// quelna-cli serve on 127.0.0.1: the real binary on a real file, which is replaced while it
// serves; then a file it refuses, and SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <thread>

#include "support/http_client.h"
#include "support/run_program.h"

namespace {

std::string servedRound(int port) {
    test_support::HttpClient client(port);
    const auto reply = client.get("/seating.json");
    std::smatch m;
    return reply && std::regex_search(reply->body, m, std::regex("\"round\": (\\d+)")) ? m[1].str()
                                                                                       : "";
}

TEST(ServeCommand, PublishesTheFileAnewKeepsTheLastGoodOneAndStopsOnSigterm) {
    test_support::ScratchDir dir("quelna_serve");
    const std::string file = (dir.path() / "t.csv").string();
    const std::string simulate = std::string(QUELNA_CLI) + " simulate --players 16 --seed 4 ";
    ASSERT_EQ(test_support::runProgram(simulate, "--rounds 2 --out " + file, dir.path()).status, 0);
    // The shell says its process id, then becomes the server.
    FILE* out = popen(("sh -c 'echo $$; exec " + std::string(QUELNA_CLI) + " serve " + file +
                       " --host 127.0.0.1 --port 0 2>" + (dir.path() / "err.txt").string() + "'")
                          .c_str(),
                      "r");
    ASSERT_NE(out, nullptr);
    char line[512] = {};
    ASSERT_NE(fgets(line, sizeof line, out), nullptr);
    const pid_t pid = std::stoi(line);
    ASSERT_NE(fgets(line, sizeof line, out), nullptr);
    std::cmatch m;
    ASSERT_TRUE(std::regex_search(line, m, std::regex("http://127.0.0.1:(\\d+)/"))) << line;
    const int port = std::stoi(m[1].str());
    EXPECT_EQ(servedRound(port), "2");

    auto waitForRound = [&](const std::string& round) {
        for (int i = 0; i < 100 && servedRound(port) != round; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return servedRound(port);
    };
    ASSERT_EQ(test_support::runProgram(simulate, "--rounds 3 --out " + file, dir.path()).status, 0);
    EXPECT_EQ(waitForRound("3"), "3") << "published anew after the file changed";
    test_support::writeFile(file, "not a tournament\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(servedRound(port), "3") << "a refused version leaves the pages as they were";
    EXPECT_NE(test_support::readFile(dir.path() / "err.txt").find("is not a tournament file"),
              std::string::npos);

    const auto stopping = std::chrono::steady_clock::now();
    kill(pid, SIGTERM);
    std::string last;
    while (fgets(line, sizeof line, out))
        last = line;
    const int status = pclose(out);
    EXPECT_EQ(last, "quelna-cli: stopped\n");
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(2));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    // A file it cannot serve is refused at the start.
    const auto refused = test_support::runProgram(QUELNA_CLI, "serve " + file, dir.path());
    EXPECT_EQ(refused.status, 2);
}

// A first line naming the addresses, the hosts it takes and refuses, and a change that leaves the
// file's size and time as they were.
TEST(ServeCommand, HostsAddressesAndAChangeOfContentAlone) {
    test_support::ScratchDir dir("quelna_serve_host");
    const std::string file = (dir.path() / "t.csv").string();
    ASSERT_EQ(test_support::runProgram(std::string(QUELNA_CLI) + " simulate --players 16 --seed 4 ",
                                       "--rounds 2 --out " + file, dir.path())
                  .status,
              0);
    const auto bad =
        test_support::runProgram(QUELNA_CLI, "serve " + file + " --host venue.lan", dir.path());
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--host takes an IP address"), std::string::npos) << bad.err;

    struct Served {
        FILE* out;
        pid_t pid;
        std::string first;
    };
    auto serve = [&](const std::string& host) {
        FILE* out = popen(("sh -c 'echo $$; exec " + std::string(QUELNA_CLI) + " serve " + file +
                           " --host " + host + " --port 0 2>/dev/null'")
                              .c_str(),
                          "r");
        char line[1024] = {};
        Served s{out, 0, ""};
        if (out && fgets(line, sizeof line, out))
            s.pid = std::stoi(line);
        if (out && fgets(line, sizeof line, out))
            s.first = line;
        return s;
    };
    auto end = [](Served& s) {
        kill(s.pid, SIGTERM);
        pclose(s.out);
    };

    Served all = serve("0.0.0.0");
    EXPECT_EQ(all.first.find("0.0.0.0"), std::string::npos) << all.first;
    EXPECT_TRUE(std::regex_search(all.first, std::regex(" at (http://[0-9.]+:\\d+/ ?)+\n$")))
        << all.first;
    end(all);

    Served local = serve("localhost");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(local.first, m, std::regex("http://127.0.0.1:(\\d+)/")))
        << local.first;
    const int port = std::stoi(m[1].str());
    EXPECT_EQ(servedRound(port), "2");

    // One name's first letter changed for another of the same size, the time put back.
    const auto time = std::filesystem::last_write_time(file);
    std::string text = test_support::readFile(file);
    const std::string seating = test_support::HttpClient(port).get("/seating.json")->body;
    const std::size_t at = text.find("\n1;") + 1;
    const std::size_t name = text.find(';', text.find(';', at) + 1) + 1;
    text[name] = text[name] == 'Z' ? 'Y' : 'Z';
    test_support::writeFile(file, text);
    std::filesystem::last_write_time(file, time);
    bool changed = false;
    for (int i = 0; i < 50 && !changed; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        changed = test_support::HttpClient(port).get("/seating.json")->body != seating;
    }
    EXPECT_TRUE(changed) << "published anew though size and time stayed";
    end(local);

    // IPv6, where this machine has it.
    Served v6 = serve("::1");
    if (v6.first.find("http://[::1]:") == std::string::npos)
        GTEST_LOG_(INFO) << "no IPv6 loopback here: " << v6.first;
    end(v6);
}

} // namespace
