#include <gtest/gtest.h>

#include "core/final_scores.h"

using namespace quelna;

TEST(FinalScores, ResultsByRuleWithTiesAndWrongSums) {
    const ScoringRule plain;                                               // 30000 / 30000: no oka
    const ScoringRule withOka{25000, 30000, {15000, 5000, -5000, -15000}}; // oka 20000
    const ScoringRule oddUma{30000, 30000, {20000, 10000, -10000, -20000}};
    struct Case {
        const char* what;
        ScoringRule rule;
        std::array<int, 4> scores;
        std::optional<std::array<int, 4>> results;
    };
    const Case cases[] = {
        {"the example, in seat order",
         plain,
         {42300, 31200, 28500, 18000},
         std::array{27300, 6200, -6500, -27000}},
        {"seat order is not place order",
         plain,
         {18000, 28500, 42300, 31200},
         std::array{-27000, -6500, 27300, 6200}},
        {"two tied for first share 1st and 2nd uma",
         plain,
         {40000, 40000, 25000, 15000},
         std::array{20000, 20000, -10000, -30000}},
        {"two tied in the middle",
         plain,
         {45000, 30000, 30000, 15000},
         std::array{30000, 0, 0, -30000}},
        {"three tied for second",
         plain,
         {45000, 25000, 25000, 25000},
         std::array{30000, -10000, -10000, -10000}},
        {"three tied for first",
         plain,
         {35000, 35000, 35000, 15000},
         std::array{10000, 10000, 10000, -30000}},
        {"all four tied", plain, {30000, 30000, 30000, 30000}, std::array{0, 0, 0, 0}},
        {"oka goes to the winner",
         withOka,
         {42300, 31200, 28500, -2000},
         std::array{47300, 6200, -6500, -47000}},
        {"tied winners share the oka",
         withOka,
         {35000, 35000, 20000, 10000},
         std::array{25000, 25000, -15000, -35000}},
        {"uneven share: remainder to the earliest tied seat",
         oddUma,
         {23000, 51000, 23000, 23000},
         std::array{-13666, 41000, -13667, -13667}},
        {"sum too high", plain, {42300, 31200, 28500, 18100}, std::nullopt},
        {"sum too low", plain, {0, 0, 0, 0}, std::nullopt},
        {"two sticks left on the table go to the winner",
         plain,
         {16000, 31200, 42300, 28500},
         std::array{-29000, 6200, 29300, -6500}},
        {"tied winners share the stick with the uma",
         plain,
         {40000, 40000, 25000, 14000},
         std::array{20500, 20500, -10000, -31000}},
        {"stick and oka both to the winner",
         withOka,
         {42300, 31200, 28500, -3000},
         std::array{48300, 6200, -6500, -48000}},
        {"short by half a stick", plain, {42300, 31200, 28500, 17500}, std::nullopt},
        {"short by a whole player's start: a slip, not sticks",
         plain,
         {30000, 30000, 30000, 0},
         std::nullopt},
    };
    for (const Case& c : cases) {
        const auto got = resultsFromFinalScores(c.scores, c.rule);
        EXPECT_EQ(got, c.results) << c.what;
        if (got) {
            EXPECT_EQ((*got)[0] + (*got)[1] + (*got)[2] + (*got)[3], 0) << c.what;
        }
    }
}
