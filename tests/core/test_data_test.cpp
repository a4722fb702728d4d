#include "core/test_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "core/text.h"

namespace quelna {
namespace {

std::size_t letters(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string lastLetter(std::string_view utf8) {
    std::size_t i = utf8.size() - 1;
    while (i > 0 && (utf8[i] & 0xC0) == 0x80)
        --i;
    return std::string(utf8.substr(i));
}

TEST(TestData, NameTablesHaveTheirEntriesAndEndings) {
    const auto surnames = surnameTable();
    const auto male = maleNameTable();
    const auto female = femaleNameTable();
    ASSERT_EQ(surnames.size(), 100u);
    ASSERT_EQ(male.size(), 50u);
    ASSERT_EQ(female.size(), 50u);
    const std::array<std::string_view, 5> firstSurnames = {"Иванов", "Васильев", "Петров",
                                                           "Смирнов", "Михайлов"};
    EXPECT_TRUE(std::equal(firstSurnames.begin(), firstSurnames.end(), surnames.begin()));
    EXPECT_EQ(surnames[97], "Константинов");
    EXPECT_EQ(surnames[99], "Наумов");
    EXPECT_EQ(male[0], "Александр");
    EXPECT_EQ(male[4], "Алексей");
    EXPECT_EQ(male[47], "Руслан");
    EXPECT_EQ(male[49], "Альберт");
    EXPECT_EQ(female[0], "Анастасия");
    EXPECT_EQ(female[4], "Елизавета");
    EXPECT_EQ(female[47], "Элина");
    EXPECT_EQ(female[49], "Лилия");

    std::map<std::string, int> endings;
    std::size_t longestSurname = 0;
    for (std::string_view s : surnames) {
        ++endings[lastLetter(s)];
        longestSurname = std::max(longestSurname, letters(s));
    }
    EXPECT_EQ(endings["в"], 89);
    EXPECT_EQ(endings["н"], 6);
    EXPECT_EQ(endings["й"], 2);
    EXPECT_EQ(longestSurname, 12u);
    std::size_t longestFirst = 0;
    for (auto table : {male, female})
        for (std::string_view s : table)
            longestFirst = std::max(longestFirst, letters(s));
    EXPECT_EQ(longestFirst, 10u);
    EXPECT_EQ(std::set<std::string_view>(surnames.begin(), surnames.end()).size(), 100u);
}

TEST(TestData, RandomNamesDrawThreeTimesPerPlayerInOrder) {
    Tournament t(200, 2);
    Random random(4242);
    Random mirror(4242);
    generateRandomNames(t, random);
    int women = 0;
    for (int i = 0; i < t.playerCount; ++i) {
        const bool female = mirror.next() >= 16384;
        const std::string_view first =
            (female ? femaleNameTable() : maleNameTable())[mirror.next() * 50 / 32768];
        const std::string_view surname = surnameTable()[mirror.next() * 100 / 32768];
        const std::string name = cp1251ToUtf8(t.names[i]);
        ASSERT_EQ(name.rfind(std::string(first) + " ", 0), 0u) << name;
        const std::string last = name.substr(first.size() + 1);
        if (!female) {
            EXPECT_EQ(last, surname);
            continue;
        }
        ++women;
        const std::string end = lastLetter(surname);
        if (end == "в" || end == "н")
            EXPECT_EQ(last, std::string(surname) + "а");
        else if (end == "й")
            EXPECT_EQ(last, std::string(surname.substr(0, surname.size() - 4)) + "ая");
        else
            EXPECT_EQ(last, surname);
        EXPECT_LE(letters(name), 24u);
    }
    EXPECT_GT(women, 50);
    EXPECT_EQ(random.next(), mirror.next()); // exactly 3 draws per player
}

TEST(TestData, RandomTeamsAreFoursNamedInOrder) {
    for (int n : {12, 200}) {
        Tournament t(n, 2);
        Random random(7);
        generateRandomTeams(t, random);
        ASSERT_EQ(t.teams.count(), n / 4);
        std::vector<int> members(n / 4 + 1, 0);
        for (int p = 0; p < n; ++p)
            ++members[t.team[p]];
        EXPECT_EQ(members[0], 0);
        for (int k = 1; k <= n / 4; ++k) {
            EXPECT_EQ(members[k], 4);
            EXPECT_EQ(cp1251ToUtf8(t.teams.name(k)), "Ком." + std::to_string(k));
        }
        Random mirror(7);
        for (int d = 0; d < n; ++d)
            mirror.next();
        EXPECT_EQ(random.next(), mirror.next());
    }
    // The first draw picks from the whole pool: floor(draw * 12 / 32768).
    Tournament t(12, 2);
    Random random(99);
    const int first = Random(99).next() * 12 / 32768;
    generateRandomTeams(t, random);
    EXPECT_EQ(t.team[first], 1);
}

TEST(TestData, RandomResultsSumToZeroInBandsOrderedByTheDrawnRow) {
    Tournament t(48, 2);
    numberPlayersInOrder(t);
    for (int p = 0; p < 48; ++p)
        t.tableAt(0, p) = (p * 7) % 12; // four players per table, not in index order
    t.normalizeRounds();
    ASSERT_EQ(t.currentRound, 1);
    Random random(2024);
    Random mirror(2024);
    generateRandomResults(t, 0, random);

    // Rows in lexicographic order where 4 counts as the first letter and 0 as the last.
    std::array<int, 4> codes = {4, 2, 1, 0};
    std::vector<std::array<int, 4>> rows;
    do
        rows.push_back(codes);
    while (std::next_permutation(codes.begin(), codes.end(), std::greater<>()));
    ASSERT_EQ(rows.front(), (std::array<int, 4>{4, 2, 1, 0}));
    ASSERT_EQ(rows[1], (std::array<int, 4>{4, 2, 0, 1}));
    ASSERT_EQ(rows.back(), (std::array<int, 4>{0, 1, 2, 4}));

    for (int table = 0; table < 12; ++table) {
        std::map<int, int> byCode;
        byCode[4] = 100 * (mirror.next() * 100 / 32767) + 10000;
        byCode[2] = 100 * (mirror.next() * 100 / 32767);
        byCode[1] = 100 * (mirror.next() * 100 / 32767) - 10000;
        byCode[0] = -(byCode[4] + byCode[2] + byCode[1]);
        const auto& row = rows[mirror.next() * 24 / 32768];
        int sum = 0;
        for (int s = 0; s < 4; ++s) {
            const int p = t.playerAt(0, table, s);
            ASSERT_GE(p, 0);
            EXPECT_EQ(t.pointsAt(0, p), byCode[row[s]]) << "table " << table << " seat " << s;
            sum += t.pointsAt(0, p);
        }
        EXPECT_EQ(sum, 0);
        EXPECT_TRUE(byCode[4] >= 10000 && byCode[4] <= 20000);
        EXPECT_TRUE(byCode[0] >= -30000 && byCode[0] <= 0);
    }
    EXPECT_EQ(random.next(), mirror.next());
}

} // namespace
} // namespace quelna
