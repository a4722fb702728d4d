#pragma once
// The players' pages, rendered from the record alone: the seating of the latest seated round with
// a search field and the round clock when there is one, the standings, the team standings, the
// seating as JSON, and for the server the choice of "Мой турнир" and one page per player. UTF-8,
// no external resources, every name escaped. Standings and histories count only the rounds whose
// every table is typed and sums to zero.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/round_clock.h"
#include "core/tournament.h"
#include "publish/page_language.h"

namespace quelna {

struct PageOptions {
    PageLanguage language = PageLanguage::Russian;
    // For the page server; files written for a website leave out what only a server can answer.
    bool served = true;
};

struct PlayerPages {
    std::string indexHtml;
    std::string standingsHtml;
    std::string teamsHtml;
    std::string seatingJson;
    // Only when served:
    std::string myHtml;                      // my.html: pick yourself
    std::map<int, std::string> personalHtml; // p/<n>, by start number as shown (from 1)
};

// The four file names, in the order of the fields above; the web server serves them by these.
inline constexpr std::array<std::string_view, 4> kPlayerPageFiles = {"index.html", "standings.html",
                                                                     "teams.html", "seating.json"};
inline constexpr std::string_view kMyPageFile = "my.html";

// The record must be normalised (seats assigned). titleCp1251 is the tournament title. The clock
// shows on the seating page, the personal pages and in the JSON only when it belongs to the
// latest seated round.
PlayerPages renderPlayerPages(const Tournament& t, std::string_view titleCp1251,
                              const RoundClock* clock = nullptr, PageOptions options = {});

// Both languages of the served pages, in the order of kPageLanguages.
std::array<PlayerPages, 2> renderServedPages(const Tournament& t, std::string_view titleCp1251,
                                             const RoundClock* clock = nullptr);

std::string renderIndexHtml(const Tournament& t, std::string_view titleCp1251,
                            const RoundClock* clock = nullptr, PageOptions options = {});
std::string renderStandingsHtml(const Tournament& t, std::string_view titleCp1251,
                                PageOptions options = {});
std::string renderTeamsHtml(const Tournament& t, std::string_view titleCp1251,
                            PageOptions options = {});
std::string renderSeatingJson(const Tournament& t, std::string_view titleCp1251,
                              const RoundClock* clock = nullptr);

// The one script of the pages and the security policy that allows exactly it, inline style and
// reading from the same server; the web server sends the same policy as a header.
std::string_view searchScript();
const std::string& contentSecurityPolicy();

} // namespace quelna
