// The plain and the fast exhaustive seating side by side on saved tournaments: the time to the
// first seating of every round from the sixth on, each capped, and whether the two agree.
//   bench_exhaustive [--seconds S] [--round R] [FILE.csv ...]
// (default: every round from the sixth of the tournaments in bench/data)
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "files/load_check.h"
#include "files/tournament_csv.h"
#include "seating/seating_driver.h"
#include "seating/seating_job.h"

namespace {

using namespace quelna;
using Clock = std::chrono::steady_clock;

struct Run {
    bool seated = false;
    double seconds = 0;
    long long variants = 0; // dead ends, and for the fast search also cut subtrees
    int tablesFilled = 0;   // most tables filled at a dead end
    std::vector<int> tables;
};

// The tournament as it stood before `round` was seated.
Tournament before(const Tournament& played, int round) {
    Tournament t = played;
    for (int r = round; r < t.roundCount; ++r)
        for (int p = 0; p < t.playerCount; ++p) {
            t.tableAt(r, p) = -1;
            t.seatAt(r, p) = -1;
            t.pointsAt(r, p) = 0;
        }
    t.normalizeRounds();
    return t;
}

// The exhaustive seating alone (no fallback), stopped after `limit` seconds.
Run seatOnce(const Tournament& start, int round, ExhaustiveMethod method, double limit) {
    Tournament t = start;
    std::atomic<bool> stop{false};
    SeatingJob job;
    job.round = round;
    job.options.method = method;
    job.stopFlag = &stop;
    Run run;
    job.onVariant = [&](SeatingJob&) { ++run.variants; };
    job.onTablesFilled = [&](SeatingJob& j, int n) { j.maxTables = run.tablesFilled = n; };
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    std::thread watcher([&] {
        std::unique_lock lock(mutex);
        if (!wake.wait_for(lock, std::chrono::duration<double>(limit), [&] { return done; }))
            stop = true;
    });
    const auto begin = Clock::now();
    run.seated = seatRound(t, job);
    run.seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    wake.notify_all();
    watcher.join();
    if (run.seated)
        run.tables.assign(t.tableOf.begin() + t.index(round, 0),
                          t.tableOf.begin() + t.index(round + 1, 0));
    return run;
}

std::string timeText(const Run& run, double limit) {
    char text[32];
    if (run.seated)
        std::snprintf(text, sizeof text, "%.3f", run.seconds);
    else if (run.seconds >= limit)
        std::snprintf(text, sizeof text, ">%.0f", limit);
    else
        std::snprintf(text, sizeof text, "none %.3f", run.seconds);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    double limit = 10;
    int only = 0;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc)
            limit = std::stod(argv[++i]);
        else if (a == "--round" && i + 1 < argc)
            only = std::stoi(argv[++i]);
        else
            files.push_back(a);
    }
    if (files.empty()) {
        for (const auto& e : std::filesystem::directory_iterator(QUELNA_BENCH_DATA))
            if (e.path().extension() == ".csv")
                files.push_back(e.path().string());
        std::sort(files.begin(), files.end());
    }

    int rounds = 0, plainSeated = 0, fastSeated = 0, compared = 0, identical = 0;
    std::printf("%-14s %5s %10s %10s %5s %12s %12s %7s\n", "tournament", "round", "plain s",
                "fast s", "same", "plain var", "fast var", "tables");
    for (const std::string& file : files) {
        std::string bytes;
        if (!readTournamentFileBytes(file, bytes)) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 2;
        }
        const CsvShape shape = measureTournamentCsv(bytes);
        Tournament played(shape.players, shape.rounds);
        readTournamentCsv(played, std::string_view(bytes));
        played.normalizeRounds();
        const std::string name = std::filesystem::path(file).stem().string();
        for (int r = 5; r < played.currentRound; ++r) {
            if (only > 0 && r + 1 != only)
                continue;
            const Tournament start = before(played, r);
            const Run plain = seatOnce(start, r, ExhaustiveMethod::Plain, limit);
            const Run fast = seatOnce(start, r, ExhaustiveMethod::Fast, limit);
            ++rounds;
            plainSeated += plain.seated;
            fastSeated += fast.seated;
            const char* same = "-";
            if (plain.seated && fast.seated) {
                ++compared;
                identical += plain.tables == fast.tables;
                same = plain.tables == fast.tables ? "yes" : "NO";
            }
            std::printf("%-14s %5d %10s %10s %5s %12lld %12lld %3d/%3d\n", name.c_str(), r + 1,
                        timeText(plain, limit).c_str(), timeText(fast, limit).c_str(), same,
                        plain.variants, fast.variants, fast.tablesFilled, start.tableCount());
            std::fflush(stdout);
        }
    }
    std::printf("\nseated within %.0f s: plain %d of %d, fast %d of %d; identical %d of %d "
                "compared\n",
                limit, plainSeated, rounds, fastSeated, rounds, identical, compared);
    return identical == compared ? 0 : 1;
}
