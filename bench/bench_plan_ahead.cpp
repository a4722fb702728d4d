// Whole tournaments played as `quelna-cli simulate` plays them (same seeds, same draws), with and
// without planning ahead: how many reach the last round without a repeat meeting, the slowest
// round, and the seating factor of the rounds where the two seatings differ.
//
//   bench_plan_ahead [--seeds N] [SIZE...]     SIZE as 32x8; by default the sizes below
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/test_data.h"
#include "seating/round_quality.h"
#include "seating/seat_next_round.h"

namespace {

using namespace quelna;

struct Run {
    bool complete = false;
    int seatedRounds = 0;
    double slowestSeconds = 0;
    std::vector<int> tables; // every round's tables
    std::vector<int> factors;
};

Run play(int players, int rounds, std::uint32_t seed, bool teams, bool planAhead) {
    Random random(seed);
    Tournament t = simulatedRegistration(players, rounds, teams, random);
    NextRoundOptions options;
    options.seating.method = ExhaustiveMethod::Fast;
    options.seating.planAhead = planAhead;
    Run run;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        const SeatingOutcome outcome = seatNextRoundUnattended(t, options, PhaseLimits{}, random);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.slowestSeconds = std::max(run.slowestSeconds, seconds);
        if (!outcome.seated() || countRepeatPairs(t, r) > 0)
            break;
        run.factors.push_back(roundDisplayFactor(t, r));
        ++run.seatedRounds;
        generateRandomResults(t, r, random);
    }
    run.complete = run.seatedRounds == rounds;
    run.tables = t.tableOf;
    return run;
}

} // namespace

int main(int argc, char** argv) {
    int seeds = 10;
    std::vector<std::pair<int, int>> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seeds" && i + 1 < argc) {
            seeds = std::atoi(argv[++i]);
        } else {
            const std::size_t x = arg.find('x');
            if (x == std::string::npos) {
                std::fprintf(stderr, "usage: bench_plan_ahead [--seeds N] [PLAYERSxROUNDS...]\n");
                return 2;
            }
            sizes.emplace_back(std::atoi(arg.c_str()), std::atoi(arg.c_str() + x + 1));
        }
    }
    if (sizes.empty())
        sizes = {{16, 5}, {24, 6}, {28, 8}, {32, 8}, {32, 9}, {40, 10}, {48, 12}};
    std::printf("%-7s %-5s %-13s %-13s %-9s %-9s %s\n", "size", "teams", "complete off",
                "complete on", "slow off", "slow on", "factor off/on where they differ");
    for (const auto& [players, rounds] : sizes)
        for (const bool teams : {false, true}) {
            int completeOff = 0, completeOn = 0;
            double slowOff = 0, slowOn = 0;
            long long factorOff = 0, factorOn = 0, differing = 0;
            for (int seed = 1; seed <= seeds; ++seed) {
                const Run off = play(players, rounds, seed, teams, false);
                const Run on = play(players, rounds, seed, teams, true);
                completeOff += off.complete;
                completeOn += on.complete;
                slowOff = std::max(slowOff, off.slowestSeconds);
                slowOn = std::max(slowOn, on.slowestSeconds);
                const int both = std::min(off.seatedRounds, on.seatedRounds);
                for (int r = 0; r < both; ++r)
                    if (!std::equal(off.tables.begin() + r * players,
                                    off.tables.begin() + (r + 1) * players,
                                    on.tables.begin() + r * players)) {
                        factorOff += off.factors[r];
                        factorOn += on.factors[r];
                        ++differing;
                    }
            }
            char factors[64] = "-";
            if (differing > 0)
                std::snprintf(factors, sizeof factors, "%.1f / %.1f (%lld rounds)",
                              double(factorOff) / differing, double(factorOn) / differing,
                              differing);
            std::printf("%3dx%-3d %-5s %2d of %-7d %2d of %-7d %-9.2f %-9.2f %s\n", players, rounds,
                        teams ? "yes" : "no", completeOff, seeds, completeOn, seeds, slowOff,
                        slowOn, factors);
            std::fflush(stdout);
        }
}
