#pragma once
// "Мой турнир": the page on which a player picks themselves once (the phone keeps the choice),
// and each player's own page, p/<start number>, which works without scripts too.
#include <string>

#include "core/round_clock.h"
#include "core/tournament.h"
#include "publish/page_frame.h"
#include "publish/player_history.h"

namespace quelna {

// my.html: every player with a start number, by name, each a link to their page.
std::string renderMyPage(const Tournament& t, const PageContext& context);
// p/<n>: this round's table and table-mates, the clock, and a row per published round.
std::string renderPersonalPage(const Tournament& t, const PlayerHistory& history,
                               const RoundClock* clock, const PageContext& context);

} // namespace quelna
