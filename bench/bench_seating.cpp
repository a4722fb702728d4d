// Figures of the seating engine on a 200-player tournament: moves per second of the improvement
// phase and dead ends per second of the exhaustive search.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "core/random.h"
#include "core/settings.h"
#include "core/test_data.h"
#include "seating/exhaustive_seating.h"
#include "seating/random_search.h"
#include "seating/seating_driver.h"

namespace {

using namespace quelna;
using Clock = std::chrono::steady_clock;

// Plays `played` rounds of a 200-player team tournament, each seating bounded by variant counts.
Tournament played(int played) {
    runRandom().seed(1);
    Tournament t(200, 12);
    generateRandomNames(t, runRandom());
    generateRandomTeams(t, runRandom());
    numberPlayersInOrder(t);
    t.rebuildMeetings();
    for (int r = 0; r < played; ++r) {
        std::atomic<bool> sw{false}, stop{false};
        SeatingJob job;
        job.round = r;
        job.switchFlag = &sw;
        job.stopFlag = &stop;
        long long count = 0, limit = 20000;
        job.onRandomStart = [&](SeatingJob&) {
            count = 0;
            limit = 2000000;
        };
        job.onVariant = [&](SeatingJob&) {
            if (++count == limit) {
                sw = true;
                stop = true;
            }
        };
        if (!seatRound(t, job))
            break;
        t.normalizeRounds();
        generateRandomResults(t, r, runRandom());
    }
    return t;
}

const Tournament& midTournament() {
    static const Tournament t = played(5);
    return t;
}

const Tournament& lateTournament() {
    static const Tournament t = played(11);
    return t;
}

// Improvement moves per second: the time from the start of the phase to its end after a fixed
// number of variants; items are all moves made, also those undone for a new meeting.
void BM_ImproveMoves(benchmark::State& state) {
    const Tournament& start = midTournament();
    const int round = start.currentRound;
    std::vector<int> totals(start.playerCount);
    for (int p = 0; p < start.playerCount; ++p)
        totals[p] = start.runningTotal(p, round);
    long long moves = 0;
    for (auto _ : state) {
        Tournament t = start;
        Random random(42);
        std::atomic<bool> stop{false};
        SeatingJob job;
        job.stopFlag = &stop;
        bool improving = false;
        long long variants = 0;
        Clock::time_point begin;
        job.onImproveStart = [&](SeatingJob&) {
            improving = true;
            begin = Clock::now();
        };
        job.onVariant = [&](SeatingJob&) {
            if (improving && ++variants == 20000)
                stop = true;
        };
        t.seatingJob = &job;
        RandomSearchStats stats;
        const bool ok = seatByRandomSearch(t, round, totals, random, &stats);
        const auto end = Clock::now();
        benchmark::DoNotOptimize(ok);
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
        moves += stats.improveMoves;
    }
    state.SetItemsProcessed(moves);
}

BENCHMARK(BM_ImproveMoves)->UseManualTime()->Unit(benchmark::kMillisecond);

// Dead ends per second of the exhaustive search over all tables of the last round, stopped
// after 200000 of them.
void BM_ExhaustiveDeadEnds(benchmark::State& state) {
    const Tournament& start = lateTournament();
    const int round = start.currentRound;
    std::vector<int> totals(start.playerCount);
    for (int p = 0; p < start.playerCount; ++p)
        totals[p] = start.runningTotal(p, round);
    settings().overlapTables = 0;
    long long deadEnds = 0;
    for (auto _ : state) {
        Tournament t = start;
        std::vector<char> seated(t.playerCount, 0);
        std::atomic<bool> stop{false};
        SeatingJob job;
        job.stopFlag = &stop;
        long long variants = 0;
        job.onVariant = [&](SeatingJob&) {
            if (++variants == 200000)
                stop = true;
        };
        t.seatingJob = &job;
        benchmark::DoNotOptimize(seatTopTables(t, round, totals, seated, t.tableCount()));
        deadEnds += variants;
    }
    state.SetItemsProcessed(deadEnds);
    state.counters["round"] = round + 1;
    state.counters["deadEndsPerSearch"] =
        static_cast<double>(deadEnds) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ExhaustiveDeadEnds)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
