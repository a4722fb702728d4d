#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/standings.h"
#include "core/text.h"
#include "files/tournament_csv.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

std::string csv(const Tournament& t) {
    std::ostringstream out;
    EXPECT_TRUE(writeTournamentCsv(t, out));
    return out.str();
}

void readText(Tournament& t, const std::string& text) {
    std::istringstream in(text);
    readTournamentCsv(t, in);
}

// 12 players, 3 rounds: rounds 0 and 1 seated with points, round 2 unseated.
Tournament playedTournament() {
    Tournament t(12, 3);
    for (int p = 0; p < 12; ++p) {
        t.setRegistration(p, utf8ToCp1251("Игрок " + std::to_string(p)),
                          p % 3 == 0 ? "" : (p % 3 == 1 ? "Red" : utf8ToCp1251("Синие")), p + 1);
        t.tableAt(0, p) = p / 4;
        t.tableAt(1, p) = p % 3;
        t.pointsAt(0, p) = (p % 4 == 0) ? 300 : -100;
        t.pointsAt(1, p) = (p % 3 == 0) ? -300 : 100 * (p % 5);
    }
    t.purgeUnusedTeams();
    t.normalizeRounds();
    return t;
}

std::string lineOf(const std::string& text, int index) {
    std::istringstream in(text);
    std::string line;
    for (int i = 0; i <= index; ++i)
        std::getline(in, line);
    return line;
}

} // namespace

TEST(TournamentCsv, HeaderAndUnplayedTournament) {
    Tournament t(12, 2);
    for (int p = 0; p < 12; ++p)
        t.setRegistration(p, "P" + std::to_string(p), "", 12 - p);
    const std::string text = csv(t);
    EXPECT_EQ(cp1251ToUtf8(lineOf(text, 0)),
              "МЕСТО;НОМЕР;ИМЯ;КОМАНДА;СТОЛ1;ИО1;СТОЛ2;ИО2;ИО_ИТОГ\r");
    // All totals equal: place 0 everywhere, rows by start number, empty team field.
    EXPECT_EQ(lineOf(text, 1), "0;1;P11;;0;0;0;0;0\r");
    EXPECT_EQ(lineOf(text, 12), "0;12;P0;;0;0;0;0;0\r");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(TournamentCsv, RoundTripKeepsEverythingInStandingsOrder) {
    const Tournament original = playedTournament();
    const std::string text = csv(original);
    Tournament loaded(12, 3);
    loaded.teams.findOrAdd("stale");
    readText(loaded, text);
    loaded.normalizeRounds();
    EXPECT_EQ(loaded.currentRound, 2);
    std::vector<int> order;
    std::vector<std::string> places;
    rankPlayers(original, 3, order, places);
    for (int i = 0; i < 12; ++i) {
        const int p = order[i];
        EXPECT_EQ(loaded.names[i], original.names[p]);
        EXPECT_EQ(loaded.playerNumber[i], original.playerNumber[p]);
        EXPECT_EQ(loaded.teams.name(loaded.team[i]), original.teams.name(original.team[p]));
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(loaded.tableAt(r, i), original.tableAt(r, p));
            EXPECT_EQ(loaded.seatAt(r, i), original.seatAt(r, p));
            EXPECT_EQ(loaded.pointsAt(r, i), original.pointsAt(r, p));
        }
    }
    // Team numbers are given in order of first appearance in the file.
    int firstTeamRow = 0;
    while (loaded.team[firstTeamRow] == 0)
        ++firstTeamRow;
    EXPECT_EQ(loaded.team[firstTeamRow], 1);
    EXPECT_EQ(loaded.teams.count(), 2);
    EXPECT_EQ(csv(loaded), text);
}

TEST(TournamentCsv, PartialRoundIsDroppedByTheRefresh) {
    Tournament t = playedTournament();
    std::string text = csv(t);
    Tournament three(12, 3);
    readText(three, text);
    // Seat only table 0 of round 3 by hand in the file's data.
    for (int p = 0; p < 4; ++p)
        three.tableAt(2, p) = 0;
    text = csv(three);
    Tournament loaded(12, 3);
    readText(loaded, text);
    loaded.normalizeRounds();
    EXPECT_EQ(loaded.currentRound, 2);
    for (int p = 0; p < 12; ++p)
        EXPECT_EQ(loaded.tableAt(2, p), -1);
}

TEST(TournamentCsv, BadInputGivesDefinedResults) {
    Tournament t(12, 2);
    readText(t, "");
    EXPECT_EQ(t.names[0], "");
    readText(t, "header only\n");
    EXPECT_EQ(t.playerNumber[0], -1);

    readText(t, "h\r\n"
                "1;5;Name;Team;1;100;2;-50;50;extra;fields\r\n"
                "x;abc;;;zz;10\n"
                "2;7;Tail\n"
                ";;\n"
                "3;8;Bad round;;1;5;x;7\n");
    EXPECT_EQ(t.playerNumber[0], 4);
    EXPECT_EQ(t.names[0], "Name");
    EXPECT_EQ(t.teams.name(t.team[0]), "Team");
    EXPECT_EQ(t.tableAt(0, 0), 0);
    EXPECT_EQ(t.pointsAt(1, 0), -50);
    EXPECT_EQ(t.playerNumber[1], -1);
    EXPECT_EQ(t.names[1], "");
    EXPECT_EQ(t.team[1], 0);
    EXPECT_EQ(t.tableAt(0, 1), -1);
    EXPECT_EQ(t.names[2], "Tail");
    EXPECT_EQ(t.playerNumber[3], -1);
    EXPECT_EQ(t.tableAt(0, 4), 0);
    EXPECT_EQ(t.pointsAt(0, 4), 5);
    EXPECT_EQ(t.tableAt(1, 4), -1); // stopped at the unreadable pair
    for (int p = 5; p < 12; ++p)    // fewer rows than players
        EXPECT_EQ(t.names[p], "");

    // Tables the record cannot have leave the player unseated.
    readText(t, "h\n1;1;A;;99;10;-4;0\n");
    EXPECT_EQ(t.tableAt(0, 0), -1);
    EXPECT_EQ(t.tableAt(1, 0), -1);
    EXPECT_EQ(t.pointsAt(0, 0), 10);
    // Found by fuzzing: table numbers at the ends of the integer range.
    readText(t, "h\n1;1;A;;-2147483648;1;99999999999;2\n");
    EXPECT_EQ(t.tableAt(0, 0), -1);
    EXPECT_EQ(t.tableAt(1, 0), -1);
    EXPECT_EQ(t.pointsAt(1, 0), 2);
}

TEST(TournamentCsv, LongLinesAndLongNames) {
    Tournament t(12, 2);
    std::string text = "h\n1;1;" + std::string(300, 'n') + ";" + std::string(100, 't') + ";1;5\n";
    text += "2;2;" + std::string(10000, 'z') + "\n";
    text += std::string("3;3;\x01\x02\xff\xfe;;1;1\n");
    readText(t, text);
    EXPECT_EQ(t.names[0], std::string(49, 'n'));
    EXPECT_EQ(t.teams.name(1), std::string(49, 't'));
    EXPECT_EQ(t.pointsAt(0, 0), 5);
    EXPECT_EQ(t.names[1], std::string(49, 'z'));
    EXPECT_EQ(t.names[2].size(), 4u);

    // A 200-player, 12-round tournament with long names writes lines past 255 characters and
    // reads them back whole.
    Tournament big(200, 12);
    for (int p = 0; p < 200; ++p) {
        big.setRegistration(p, std::string(49, static_cast<char>('A' + p % 26)),
                            std::string(49, 'T') + std::to_string(p % 50), p + 1);
        for (int r = 0; r < 12; ++r) {
            big.tableAt(r, p) = (p + r * 7) % 200 / 4;
            big.pointsAt(r, p) = p < 100 ? -12345 : 0;
        }
    }
    big.purgeUnusedTeams();
    const std::string bigText = csv(big);
    EXPECT_GT(lineOf(bigText, 150).size(), 255u);
    Tournament back(200, 12);
    readText(back, bigText);
    EXPECT_EQ(csv(back), bigText);
}

TEST(TournamentFile, SaveReplacesSafelyAndReportsFailure) {
    const fs::path dir = fs::temp_directory_path() / "quelna_files_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "t.csv").string();
    const Tournament t = playedTournament();
    ASSERT_TRUE(saveTournamentFile(t, path));
    Tournament loaded(12, 3);
    ASSERT_TRUE(loadTournamentFile(loaded, path));
    EXPECT_EQ(csv(loaded), csv(t));
    EXPECT_FALSE(fs::exists(path + ".saving"));

    // A read-only target is refused and left as it was.
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Tournament empty(12, 3);
    EXPECT_FALSE(saveTournamentFile(empty, path));
    Tournament again(12, 3);
    ASSERT_TRUE(loadTournamentFile(again, path));
    EXPECT_EQ(csv(again), csv(t));
    fs::permissions(path, fs::perms::owner_all);

    EXPECT_FALSE(saveTournamentFile(t, (dir / "missing" / "x.csv").string()));
    Tournament untouched = playedTournament();
    EXPECT_FALSE(loadTournamentFile(untouched, (dir / "nope.csv").string()));
    EXPECT_FALSE(loadTournamentFile(untouched, dir.string()));
    EXPECT_EQ(untouched.currentRound, 2);
    EXPECT_EQ(csv(untouched), csv(t));

    EXPECT_FALSE(autosaveRound(t, 0, dir.string(), false));
    EXPECT_FALSE(fs::exists(autosavePath(dir.string(), 0)));
    EXPECT_TRUE(autosaveRound(t, 3, dir.string(), true));
    EXPECT_TRUE(fs::exists(dir / "autosave_tour3.csv"));
    fs::remove_all(dir);
}

// Cells not typed yet and typed text survive a save, a penalty on such a cell included; the
// player lines read as before, so a reader that stops at them gets the same totals.
TEST(TournamentCsv, TypedStateRoundTripsBehindThePlayerLines) {
    Tournament t = playedTournament();
    const int untyped = t.playerAt(1, 0, 2), text = t.playerAt(1, 1, 0), number = 5;
    t.typePoints(1, untyped, "");
    t.typePoints(1, text, "12x;3");
    t.typePoints(1, number, " -40 ");
    t.adjustments.addPenalty(1, untyped, Penalty{-1000, "late"});
    EXPECT_EQ(t.pointsAt(1, text), 12);
    EXPECT_EQ(t.pointsAt(1, number), -40);
    EXPECT_EQ(t.entryAt(1, number), PointsEntry::Number);
    const std::string text1 = csv(t);
    EXPECT_NE(text1.find(utf8ToCp1251("\r\nНЕ_ЧИСЛО;2;")), std::string::npos);
    EXPECT_NE(text1.find(";12x,3\r\n"), std::string::npos) << "';' as ',' like names";

    Tournament back(12, 3);
    readText(back, text1);
    back.normalizeRounds();
    // Lines come in standings order: a player is found again by his start number.
    auto slot = [&](int p) {
        for (int q = 0; q < 12; ++q)
            if (back.playerNumber[q] == t.playerNumber[p])
                return q;
        return -1;
    };
    EXPECT_EQ(back.entryAt(1, slot(untyped)), PointsEntry::Untyped);
    EXPECT_EQ(back.pointsAt(1, slot(untyped)), 0);
    EXPECT_EQ(back.countedPointsAt(1, slot(untyped)), -1000);
    EXPECT_EQ(back.entryAt(1, slot(text)), PointsEntry::Text);
    EXPECT_EQ(back.typedTextAt(1, slot(text)), "12x,3");
    EXPECT_EQ(back.pointsAt(1, slot(text)), 12);
    EXPECT_EQ(back.entryAt(1, slot(number)), PointsEntry::Number);
    EXPECT_EQ(csv(back), text1);

    // The player lines alone, as a reader of the plain format takes them: the same totals.
    Tournament plain(12, 3);
    readText(plain, text1.substr(0, text1.find(utf8ToCp1251("ЗАМЕНЫ_И_ШТРАФЫ"))));
    plain.normalizeRounds();
    for (int p = 0; p < 12; ++p)
        EXPECT_EQ(plain.runningTotal(p, 2), back.runningTotal(p, 2)) << p;
}
