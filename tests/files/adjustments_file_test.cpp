// A 200 x 12 tournament with substitutes and penalties: totals, standings, seats and the saved
// file agree with a recomputation here, the file reads back identically, and a reader that knows
// only the player lines still gets every total right.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <sstream>

#include "core/standings.h"
#include "core/test_data.h"
#include "core/text.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"

using namespace quelna;

namespace {

struct Played {
    Tournament t{200, 12};
    // Per (round, player): what counts, computed here from the rules, not by the record.
    std::map<std::pair<int, int>, long long> counted;
};

// Seats round r by a shuffled order, draws results, then adds substitutes in rounds 2, 5 and 9
// and penalties on five players, recording what each should count.
Played playTournament() {
    Played g;
    Tournament& t = g.t;
    Random random(7);
    generateRandomNames(t, random);
    numberPlayersInOrder(t);
    const std::map<int, std::vector<int>> substituted = {{2, {3, 50}}, {5, {50}}, {9, {199, 0, 7}}};
    const std::vector<int> penalised = {1, 20, 50, 120, 180};
    for (int r = 0; r < 12; ++r) {
        std::vector<int> order(200);
        std::iota(order.begin(), order.end(), 0);
        for (int i = 199; i > 0; --i)
            std::swap(order[i], order[random.index(i + 1)]);
        for (int i = 0; i < 200; ++i)
            t.tableAt(r, order[i]) = i / 4;
        t.normalizeRounds();
        generateRandomResults(t, r, random);
        if (substituted.count(r))
            for (int p : substituted.at(r))
                t.adjustments.setSubstitute(r, p,
                                            Substitute{utf8ToCp1251("Запасной Игрок"), -30000});
        for (int p : penalised)
            if ((p + r) % 4 == 0) {
                t.adjustments.addPenalty(r, p, Penalty{-20000, utf8ToCp1251("Чомбо")});
                if (p == 50)
                    t.adjustments.addPenalty(r, p, Penalty{-1000, utf8ToCp1251("Опоздание")});
            }
        for (int p = 0; p < 200; ++p) {
            long long value = t.pointsAt(r, p);
            if (substituted.count(r) && std::ranges::count(substituted.at(r), p))
                value = -30000;
            if (std::ranges::count(penalised, p) && (p + r) % 4 == 0)
                value += p == 50 ? -21000 : -20000;
            g.counted[{r, p}] = value;
        }
    }
    t.adjustments.setLeftFrom(199, 10);
    t.normalizeRounds();
    return g;
}

long long expectedTotal(const Played& g, int p, int rounds) {
    long long sum = 0;
    for (int r = 0; r < rounds; ++r)
        sum += g.counted.at({r, p});
    return sum;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ';');)
        out.push_back(f);
    return out;
}

} // namespace

TEST(AdjustmentsFile, TotalsStandingsSeatsAndFileAgreeWithARecomputation) {
    const Played g = playTournament();
    const Tournament& t = g.t;
    ASSERT_EQ(t.currentRound, 12);

    for (int p = 0; p < 200; ++p)
        ASSERT_EQ(t.runningTotal(p, 12), expectedTotal(g, p, 12)) << "player " << p;

    std::vector<int> order;
    std::vector<std::string> places;
    ASSERT_FALSE(rankPlayers(t, 12, order, places));
    for (int i = 1; i < 200; ++i)
        ASSERT_GE(expectedTotal(g, order[i - 1], 12), expectedTotal(g, order[i], 12));

    // Seats follow the counted totals before the round; the table check uses real results.
    for (int r = 1; r < 12; ++r)
        for (int table = 0; table < 50; ++table) {
            long long sum = 0;
            for (int s = 0; s < 4; ++s) {
                const int p = t.playerAt(r, table, s);
                sum += t.pointsAt(r, p);
                if (s > 0) {
                    ASSERT_GE(expectedTotal(g, t.playerAt(r, table, s - 1), r),
                              expectedTotal(g, p, r))
                        << "round " << r << " table " << table;
                }
            }
            ASSERT_EQ(sum, 0) << "round " << r << " table " << table;
        }

    // The file: rows in standings order with counted points and totals, read by a reader that
    // stops after the 200 player lines, as one that knows nothing of the extra section does.
    const std::string text = tournamentCsvText(t);
    const std::vector<std::string> rows = lines(text);
    ASSERT_GT(rows.size(), 201u);
    for (const std::string& row : rows)
        ASSERT_LE(row.size() + 1, 255u) << row; // CR stays in row; + LF
    for (int i = 0; i < 200; ++i) {
        const std::vector<std::string> f = fields(rows[1 + i]);
        ASSERT_EQ(f.size(), 4u + 24 + 1);
        const int p = order[i];
        ASSERT_EQ(f[2], t.names[p]);
        long long sum = 0;
        for (int r = 0; r < 12; ++r) {
            ASSERT_EQ(std::stoll(f[5 + 2 * r]), g.counted.at({r, p})) << "row " << i;
            sum += std::stoll(f[5 + 2 * r]);
        }
        EXPECT_EQ(sum, expectedTotal(g, p, 12));
        EXPECT_EQ(std::stoll(f[28]), sum);
    }
    EXPECT_EQ(rows[201], utf8ToCp1251("ЗАМЕНЫ_И_ШТРАФЫ") + "\r");

    // Reading back gives the same record in standings order and writes the same bytes.
    EXPECT_EQ(measureTournamentCsv(text).players, 200);
    Tournament back(200, 12);
    readTournamentCsv(back, text);
    back.normalizeRounds();
    // Equal totals may be listed in another order after a load (the exchange sort is not stable),
    // so the lines are compared as a set.
    std::vector<std::string> again = lines(tournamentCsvText(back)), before = rows;
    std::ranges::sort(again);
    std::ranges::sort(before);
    EXPECT_TRUE(again == before);
    for (int i = 0; i < 200; ++i) {
        const int p = order[i];
        for (int r = 0; r < 12; ++r) {
            ASSERT_EQ(back.pointsAt(r, i), t.pointsAt(r, p));
            ASSERT_EQ(back.tableAt(r, i), t.tableAt(r, p));
            ASSERT_EQ(back.seatAt(r, i), t.seatAt(r, p));
            ASSERT_EQ(back.adjustments.penalties(r, i), t.adjustments.penalties(r, p));
            const Substitute* s = back.adjustments.substitute(r, i);
            ASSERT_EQ(s != nullptr, t.adjustments.substitute(r, p) != nullptr);
            if (s) {
                EXPECT_EQ(*s, *t.adjustments.substitute(r, p));
            }
        }
        EXPECT_EQ(back.adjustments.leftFrom(i), t.adjustments.leftFrom(p));
    }
}

TEST(AdjustmentsFile, SectionSurvivesShortFilesAndBadLinesAndIsDroppedWithItsRounds) {
    Tournament t(12, 3);
    for (int p = 0; p < 12; ++p) {
        t.setRegistration(p, "P" + std::to_string(p), "", p + 1);
        t.tableAt(0, p) = p / 4;
        t.tableAt(1, p) = p % 3;
        t.pointsAt(0, p) = p % 4 == 0 ? 300 : -100;
    }
    t.normalizeRounds();
    t.adjustments.setSubstitute(0, 5, Substitute{"S;x", -300});
    t.adjustments.addPenalty(1, 4, Penalty{-20, "late"});
    std::string text = tournamentCsvText(t);
    // Names and reasons never break the section's fields.
    EXPECT_NE(text.find("S,x"), std::string::npos);

    // A record with more slots than the file has rows stops at the section.
    Tournament bigger(16, 3);
    readTournamentCsv(bigger, text);
    EXPECT_TRUE(bigger.names[12].empty());
    const auto row = std::ranges::find(bigger.names, "P5") - bigger.names.begin();
    EXPECT_NE(bigger.adjustments.substitute(0, static_cast<int>(row)), nullptr);

    // Lines that cannot be used are skipped; the others still count.
    text += utf8ToCp1251("ШТРАФ;9;1;-5;beyond the rounds\r\nЗАМЕНА;1;x;0;0;bad\r\nmisc\r\n");
    Tournament back(12, 3);
    readTournamentCsv(back, text);
    back.normalizeRounds();
    EXPECT_EQ(back.adjustments.allPenalties().size(), 1u);

    // Dropping round 2's seating drops its penalty with it.
    for (int p = 0; p < 12; ++p)
        back.tableAt(1, p) = -1;
    back.normalizeRounds();
    EXPECT_TRUE(back.adjustments.allPenalties().empty());
    EXPECT_EQ(back.adjustments.allSubstitutes().size(), 1u);
}
