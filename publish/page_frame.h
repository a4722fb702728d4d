#pragma once
// What every players' page shares: the head with its style and security policy, the header with
// the title, the links between the pages and the language switch, and the one script at the end.
#include <string>
#include <string_view>

#include "core/round_clock.h"
#include "core/tournament.h"
#include "publish/page_language.h"

namespace quelna {

enum class PageKind { Seating, Standings, Teams, Mine };

struct PageContext {
    std::string_view titleCp1251;
    PageLanguage language = PageLanguage::Russian;
    // Served by the page server: with "Мой турнир" and the language switch, which files on disk
    // have no use for.
    bool served = true;
    std::string_view root; // the way from the page back to the site's top: "" or "../"
    bool picker = false;   // my.html, which goes on to the page the phone chose before
};

std::string pageStart(const PageContext& c, PageKind here, std::string_view heading);
// Closes main, adds the script, closes the page.
std::string pageEnd();

// The page's title as shown: the tournament's, or the default one of the language.
std::string titleText(const PageContext& c);
// Escaped UTF-8 of a CP1251 text of the record.
std::string html(std::string_view cp1251);

// The clock of the latest seated round, or null when the clock given is of another round.
const RoundClock* clockOfRound(const Tournament& t, const RoundClock* clock);
// The clock's element, which the script counts down; its words in the page's language.
std::string clockElement(const RoundClock& c, PageLanguage language);
// "running", "paused" or "idle", as the script and seating.json name the states.
const char* clockStateName(ClockState state);
// A player's start number as shown, or "—" without one.
std::string numberText(const Tournament& t, int player);

std::string_view pageScript();
const std::string& pagePolicy(); // as the header sends it

} // namespace quelna
