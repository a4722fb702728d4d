// Figures of the seating engine on a 200-player tournament: moves per second of the improvement
// phase and dead ends per second of the exhaustive search.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "core/random.h"
#include "seating/exhaustive_seating.h"
#include "seating/random_search.h"
#include "support/played_tournament.h"

namespace {

using namespace quelna;
using Clock = std::chrono::steady_clock;

// `played` rounds of a 200-player team tournament, each seating bounded by variant counts.
Tournament played(int played) {
    return test_support::playedTournament(
        200, 12, played, test_support::Seed{1}, test_support::Teams::With,
        {.limits = {.exhaustiveVariants = 20000, .randomVariants = 2000000}});
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
        RandomSearchStats stats;
        const bool ok = seatByRandomSearch(t, round, totals, random, job, &stats);
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
        benchmark::DoNotOptimize(seatTopTables(t, round, totals, seated, t.tableCount(), job));
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
