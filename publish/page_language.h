#pragma once
// The two languages of the players' pages and every text the pages show in them (UTF-8). Names of
// players, teams and the tournament are shown as registered, in neither.
#include <string>
#include <string_view>

namespace quelna {

enum class PageLanguage { Russian, English };
inline constexpr PageLanguage kPageLanguages[] = {PageLanguage::Russian, PageLanguage::English};

struct PageWords {
    std::string_view code;  // the page's lang attribute and the value of ?lang=
    std::string_view other; // the link to the other language, in that language
    std::string_view defaultTitle;
    std::string_view seating, standings, teams, mine;
    std::string_view noSeating, noSeatingHint;
    std::string_view round, table; // followed by a number
    std::string_view minutes;      // after "+N"
    std::string_view find, findLabel;
    std::string_view standingsHeading, teamsHeading, noTeams;
    std::string_view seatedRounds, countedRounds; // "…: N of R" and "…: N"
    std::string_view of;
    std::string_view place, number, player, points, team;
    std::string_view clockBefore, clockLeft, clockPaused, clockUp;
    std::string_view substitute, penalty;
    std::string_view pickHeading, pickHint, notYou;
    std::string_view now, opponents, total, history, noHistory, noRoundYet;
    std::string_view roundColumn, tableColumn;
};

const PageWords& pageWords(PageLanguage language);
// "ru" or "en" as a query or a cookie gives it; anything else nothing (Russian stays the default).
bool parsePageLanguage(std::string_view code, PageLanguage& language);
// How a seat shows the substitute who played it: "→ замена: name" or "→ substitute: name".
std::string substituteText(PageLanguage language, std::string_view nameCp1251);

} // namespace quelna
