#include "publish/player_pages.h"

#include <vector>

#include "core/standings.h"
#include "core/text.h"
#include "publish/page_frame.h"
#include "publish/personal_pages.h"
#include "publish/player_history.h"
#include "publish/published_rounds.h"
#include "publish/web_text.h"

namespace quelna {

namespace {

std::string utf8(std::string_view cp1251) {
    return cp1251ToUtf8(cp1251);
}

PageContext contextOf(std::string_view titleCp1251, PageOptions options) {
    return {titleCp1251, options.language, options.served, ""};
}

// Which rounds the standings count, under their heading.
std::string roundsHint(const Tournament& t, const PageWords& w, int counted) {
    std::string s = "<p class=\"hint\">" + std::string(w.seatedRounds) +
                    std::to_string(t.currentRound) + std::string(w.of) +
                    std::to_string(t.roundCount);
    if (counted != t.currentRound)
        s += "<br>" + std::string(w.countedRounds) + std::to_string(counted);
    return s + "</p>\n";
}

std::string clockJson(const RoundClock& c) {
    auto timeOrNull = [](bool has, ClockTime value) {
        return has ? std::to_string(value) : std::string("null");
    };
    std::string s = "{\"round\": " + std::to_string(c.round) + ", \"state\": \"" +
                    clockStateName(c.state) +
                    "\", \"endsAt\": " + timeOrNull(c.state == ClockState::Running, c.endsAt) +
                    ", \"left\": " + timeOrNull(c.state == ClockState::Paused, c.left) +
                    ", \"duration\": " + std::to_string(c.duration) +
                    ", \"startsAt\": " + timeOrNull(c.startsAt > 0, c.startsAt) + ", \"extra\": [";
    for (std::size_t i = 0; i < c.extra.size(); ++i)
        s += (i ? ", " : "") + std::string("{\"table\": ") + std::to_string(c.extra[i].table) +
             ", \"minutes\": " + std::to_string(c.extra[i].minutes) + "}";
    return s + "]}";
}

} // namespace

std::string_view searchScript() {
    return pageScript();
}

const std::string& contentSecurityPolicy() {
    return pagePolicy();
}

std::string renderIndexHtml(const Tournament& t, std::string_view titleCp1251,
                            const RoundClock* clock, PageOptions options) {
    const PageWords& w = pageWords(options.language);
    std::string s = pageStart(contextOf(titleCp1251, options), PageKind::Seating, w.seating);
    const int round = t.currentRound - 1;
    if (round < 0) {
        s += "<h2>" + std::string(w.noSeating) + "</h2>\n<p class=\"hint\">" +
             std::string(w.noSeatingHint) + "</p>\n";
        return s + pageEnd();
    }
    s += "<h2>" + std::string(w.round) + std::to_string(round + 1) + "</h2>\n";
    const RoundClock* roundClock = clockOfRound(t, clock);
    if (roundClock)
        s += clockElement(*roundClock, options.language);
    s += "<input id=\"find\" type=\"search\" placeholder=\"" + std::string(w.find) +
         "\" aria-label=\"" + std::string(w.findLabel) +
         "\" autocomplete=\"off\" hidden>\n<div class=\"cards\">\n";
    for (int tb = 0; tb < t.tableCount(); ++tb) {
        s += "<section class=\"card\"><h3>" + std::string(w.table) + std::to_string(tb + 1);
        if (const int extra = roundClock ? tableExtra(*roundClock, tb + 1) : 0)
            s += " <span class=\"extra\">+" + std::to_string(extra) + std::string(w.minutes) +
                 "</span>";
        s += "</h3>\n";
        for (int seat = 0; seat < 4; ++seat) {
            const int p = t.playerAt(round, tb, seat);
            if (p < 0)
                continue;
            const std::string name = html(t.names[p]);
            const std::string number = numberText(t, p);
            s += "<div class=\"p\" data-n=\"" + number + "\" data-k=\"" + name +
                 "\"><span class=\"seat\">" + std::to_string(seat + 1) +
                 "</span><span class=\"num\">" + number + "</span><span class=\"name\">" + name;
            if (t.team[p] > 0)
                s += "<span class=\"team\">" + html(t.teams.name(t.team[p])) + "</span>";
            if (const Substitute* sub = t.adjustments.substitute(round, p))
                s += "<span class=\"team\">" +
                     escapeHtml(substituteText(options.language, sub->name)) + "</span>";
            s += "</span></div>\n";
        }
        s += "</section>\n";
    }
    s += "</div>\n";
    return s + pageEnd();
}

std::string renderStandingsHtml(const Tournament& t, std::string_view titleCp1251,
                                PageOptions options) {
    const PageWords& w = pageWords(options.language);
    std::string s = pageStart(contextOf(titleCp1251, options), PageKind::Standings, w.standings);
    const int counted = publishedRounds(t);
    s += "<h2>" + std::string(w.standingsHeading) + "</h2>\n" + roundsHint(t, w, counted);
    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, counted, order, places);
    s += "<table>\n<tr><th>" + std::string(w.place) + "</th><th class=\"r\">" +
         std::string(w.number) + "</th><th>" + std::string(w.player) + "</th><th class=\"r\">" +
         std::string(w.points) + "</th></tr>\n";
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int p = order[i];
        s += "<tr><td class=\"place\">" + (allEqual ? std::string("0") : places[i]) +
             "</td><td class=\"r\">" + numberText(t, p) + "</td><td>" + html(t.names[p]);
        if (t.team[p] > 0)
            s += "<span class=\"team\">" + html(t.teams.name(t.team[p])) + "</span>";
        s += "</td><td class=\"r\">" + standingsTotalText(t, p, counted) + "</td></tr>\n";
    }
    s += "</table>\n";
    return s + pageEnd();
}

std::string renderTeamsHtml(const Tournament& t, std::string_view titleCp1251,
                            PageOptions options) {
    const PageWords& w = pageWords(options.language);
    std::string s = pageStart(contextOf(titleCp1251, options), PageKind::Teams, w.teams);
    s += "<h2>" + std::string(w.teamsHeading) + "</h2>\n";
    if (t.teams.count() == 0) {
        s += "<p class=\"hint\">" + std::string(w.noTeams) + "</p>\n";
        return s + pageEnd();
    }
    const int counted = publishedRounds(t);
    if (counted != t.currentRound)
        s += roundsHint(t, w, counted);
    std::vector<int> order;
    std::vector<int> totals;
    std::vector<std::string> places;
    const bool allEqual = rankTeams(t, counted, order, totals, places);
    s += "<table>\n<tr><th>" + std::string(w.place) + "</th><th>" + std::string(w.team) +
         "</th><th class=\"r\">" + std::string(w.points) + "</th></tr>\n";
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int k = order[i];
        s += "<tr><td class=\"place\">" + (allEqual ? std::string("0") : places[i]) + "</td><td>" +
             html(t.teams.name(k + 1)) + "</td><td class=\"r\">" + std::to_string(totals[k]) +
             "</td></tr>\n";
    }
    s += "</table>\n";
    return s + pageEnd();
}

std::string renderSeatingJson(const Tournament& t, std::string_view titleCp1251,
                              const RoundClock* clock) {
    const int round = t.currentRound - 1;
    std::string s = "{\"round\": " + std::to_string(round + 1) +
                    ", \"title\": " + jsonString(utf8(titleCp1251)) + ", \"tables\": [";
    for (int tb = 0; round >= 0 && tb < t.tableCount(); ++tb) {
        s += tb == 0 ? "\n  " : ",\n  ";
        s += "{\"table\": " + std::to_string(tb + 1) + ", \"players\": [";
        bool first = true;
        for (int seat = 0; seat < 4; ++seat) {
            const int p = t.playerAt(round, tb, seat);
            if (p < 0)
                continue;
            const int n = t.playerNumber[p];
            s += first ? "" : ", ";
            first = false;
            s += "{\"seat\": " + std::to_string(seat + 1) +
                 ", \"number\": " + (n < 0 ? std::string("null") : std::to_string(n + 1)) +
                 ", \"name\": " + jsonString(utf8(t.names[p])) +
                 ", \"team\": " + jsonString(utf8(t.teams.name(t.team[p]))) + "}";
        }
        s += "]}";
    }
    s += round >= 0 && t.tableCount() > 0 ? "\n]" : "]";
    if (const RoundClock* roundClock = clockOfRound(t, clock))
        s += ", \"clock\": " + clockJson(*roundClock);
    return s + "}\n";
}

PlayerPages renderPlayerPages(const Tournament& t, std::string_view titleCp1251,
                              const RoundClock* clock, PageOptions options) {
    PlayerPages pages{renderIndexHtml(t, titleCp1251, clock, options),
                      renderStandingsHtml(t, titleCp1251, options),
                      renderTeamsHtml(t, titleCp1251, options),
                      renderSeatingJson(t, titleCp1251, clock),
                      {},
                      {}};
    if (!options.served)
        return pages;
    const PageContext context = contextOf(titleCp1251, options);
    pages.myHtml = renderMyPage(t, context);
    const std::vector<PlayerHistory> histories = playerHistories(t, publishedRounds(t));
    PageContext inner = context;
    inner.root = "../";
    for (int p = 0; p < t.playerCount; ++p) {
        const int n = t.playerNumber[p];
        // A number given twice (a file typed by hand) leads to the first player who has it.
        if (n >= 0 && !pages.personalHtml.count(n + 1))
            pages.personalHtml[n + 1] = renderPersonalPage(t, histories[p], clock, inner);
    }
    return pages;
}

} // namespace quelna

namespace quelna {

std::array<PlayerPages, 2> renderServedPages(const Tournament& t, std::string_view titleCp1251,
                                             const RoundClock* clock) {
    return {renderPlayerPages(t, titleCp1251, clock, {PageLanguage::Russian, true}),
            renderPlayerPages(t, titleCp1251, clock, {PageLanguage::English, true})};
}

} // namespace quelna
