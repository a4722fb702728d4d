#pragma once
// The players' pages, rendered from the record alone: the seating of the latest seated round with
// a search field and the round clock when there is one, the standings, the team standings and the
// seating as JSON. UTF-8, no external resources, every name escaped.
#include <array>
#include <string>
#include <string_view>

#include "core/round_clock.h"
#include "core/tournament.h"

namespace quelna {

struct PlayerPages {
    std::string indexHtml;
    std::string standingsHtml;
    std::string teamsHtml;
    std::string seatingJson;
};

// The four file names, in the order of the fields above; the web server serves them by these.
inline constexpr std::array<std::string_view, 4> kPlayerPageFiles = {"index.html", "standings.html",
                                                                     "teams.html", "seating.json"};

// The record must be normalised (seats assigned). titleCp1251 is the tournament title. The clock
// shows on the seating page and in the JSON only when it belongs to the latest seated round.
PlayerPages renderPlayerPages(const Tournament& t, std::string_view titleCp1251,
                              const RoundClock* clock = nullptr);

std::string renderIndexHtml(const Tournament& t, std::string_view titleCp1251,
                            const RoundClock* clock = nullptr);
std::string renderStandingsHtml(const Tournament& t, std::string_view titleCp1251);
std::string renderTeamsHtml(const Tournament& t, std::string_view titleCp1251);
std::string renderSeatingJson(const Tournament& t, std::string_view titleCp1251,
                              const RoundClock* clock = nullptr);

// The one script of the pages (the round clock and the search on index.html) and the security
// policy that allows exactly it, inline style and reading seating.json from the same server; the
// web server sends the same policy as a header.
std::string_view searchScript();
const std::string& contentSecurityPolicy();

} // namespace quelna
