// Time and size of one publish of the players' pages for a recorded tournament: both languages
// rendered, with a page per player, then each page gzip-compressed. Figures, not pass/fail.
#include <chrono>
#include <cstdio>
#include <string>

#include "core/tournament.h"
#include "files/tournament_csv.h"
#include "publish/player_pages.h"
#include "publish/server/page_snapshot.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_publish TOURNAMENT.csv [PLAYERS ROUNDS]\n");
        return 2;
    }
    const int players = argc > 3 ? std::stoi(argv[2]) : 200;
    const int rounds = argc > 3 ? std::stoi(argv[3]) : 12;
    quelna::Tournament t(players, rounds);
    if (!quelna::loadTournamentFile(t, argv[1])) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    t.normalizeRounds();
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    double best = 1e9, bestRender = 1e9, bestAgain = 1e9;
    std::size_t identity = 0, gzip = 0, count = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        const auto pages = quelna::renderServedPages(t, "");
        const auto rendered = Clock::now();
        const auto snapshot = quelna::makePageSnapshot(pages);
        const auto done = Clock::now();
        bestRender = std::min(bestRender, ms(rendered - start));
        best = std::min(best, ms(done - start));
        // The same record again, as while a round is typed: the compressed forms carry over.
        const auto again = Clock::now();
        const auto next = quelna::makePageSnapshot(quelna::renderServedPages(t, ""), snapshot);
        bestAgain = std::min(bestAgain, ms(Clock::now() - again));
        identity = gzip = count = 0;
        for (const quelna::ServedSite& site : snapshot->sites) {
            auto add = [&](const quelna::ServedPage& p) {
                identity += p.identity.size();
                gzip += p.gzip.size();
                ++count;
            };
            for (const auto& p : site.pages)
                add(p);
            add(site.my);
            for (const auto& [n, p] : site.personal)
                add(p);
        }
    }
    std::printf("publish: %zu pages, render %.1f ms, render+gzip %.1f ms, again unchanged %.1f "
                "ms (best of 5); %.1f MB plain, %.1f MB gzip held\n",
                count, bestRender, best, bestAgain, identity / 1e6, gzip / 1e6);
    return 0;
}
