#include "publish/personal_pages.h"

#include <algorithm>
#include <vector>

#include "core/text.h"
#include "publish/web_text.h"

namespace quelna {

namespace {

// Number, name and team of a player, as a row of a table card.
std::string playerRow(const Tournament& t, int round, int player, int seat, bool self,
                      PageLanguage language) {
    std::string s = std::string("<div class=\"p") + (self ? " hit" : "") +
                    "\"><span class=\"seat\">" + std::to_string(seat + 1) +
                    "</span><span class=\"num\">" + numberText(t, player) +
                    "</span><span class=\"name\">" + html(t.names[player]);
    if (t.team[player] > 0)
        s += "<span class=\"team\">" + html(t.teams.name(t.team[player])) + "</span>";
    if (const Substitute* sub = t.adjustments.substitute(round, player))
        s += "<span class=\"team\">" + escapeHtml(substituteText(language, sub->name)) + "</span>";
    return s + "</span></div>\n";
}

std::string signedText(int value) {
    // A real minus sign reads better than a hyphen on a phone.
    return value < 0 ? "−" + std::to_string(-static_cast<long long>(value)) : std::to_string(value);
}

// A card per round: too many columns for a phone's width as a table.
std::string historyCards(const Tournament& t, const PlayerHistory& h, const PageWords& w,
                         PageLanguage language) {
    std::string s;
    for (const HistoryRow& row : h.rows) {
        s += "<section class=\"card h\"><h3>" + std::string(w.round) +
             std::to_string(row.round + 1) + " · " + std::string(w.table) +
             std::to_string(row.table + 1) + "<span class=\"pts\">" + signedText(row.counted) +
             (row.penalties.empty() ? "" : "*") + "</span></h3>\n<div class=\"opp\">";
        for (std::size_t i = 0; i < row.opponents.size(); ++i)
            s += (i ? "<br>" : "") + numberText(t, row.opponents[i]) + " " +
                 html(t.names[row.opponents[i]]);
        s += "</div>";
        if (row.substitute)
            s += "<span class=\"team\">" +
                 escapeHtml(substituteText(language, row.substitute->name)) + "</span>";
        for (const Penalty& p : row.penalties) {
            s += "<span class=\"team mark\">* " + std::string(w.penalty) + " " +
                 signedText(p.amount);
            if (!p.reason.empty())
                s += ": " + html(p.reason);
            s += "</span>";
        }
        s += "\n<div class=\"sum\">" + std::string(w.total) + ": <b>" + signedText(row.total) +
             "</b> · " + std::string(w.place) + ": <b>" + row.place + "</b></div></section>\n";
    }
    return s;
}

} // namespace

std::string renderMyPage(const Tournament& t, const PageContext& given) {
    PageContext context = given;
    context.picker = true;
    const PageWords& w = pageWords(context.language);
    std::string s = pageStart(context, PageKind::Mine, w.mine);
    s += "<h2>" + std::string(w.pickHeading) + "</h2>\n<p class=\"hint\">" +
         std::string(w.pickHint) + "</p>\n";
    std::vector<int> players;
    for (int p = 0; p < t.playerCount; ++p)
        if (t.playerNumber[p] >= 0)
            players.push_back(p);
    // By name in the code page's order (the alphabet but for Ё), then by number.
    std::stable_sort(players.begin(), players.end(), [&t](int a, int b) {
        const std::string& x = t.names[a];
        const std::string& y = t.names[b];
        if (x != y)
            return std::lexicographical_compare(
                x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
                    return static_cast<unsigned char>(c) < static_cast<unsigned char>(d);
                });
        return t.playerNumber[a] < t.playerNumber[b];
    });
    s += "<input id=\"find\" type=\"search\" placeholder=\"" + std::string(w.find) +
         "\" aria-label=\"" + std::string(w.findLabel) +
         "\" autocomplete=\"off\" hidden>\n<div class=\"card pick\">\n";
    for (int p : players) {
        const std::string number = numberText(t, p);
        const std::string name = html(t.names[p]);
        s += "<a class=\"p\" href=\"" + std::string(context.root) + "p/" + number +
             "\" data-me=\"" + number + "\" data-n=\"" + number + "\" data-k=\"" + name + "\"><b>" +
             number + "</b>" + name + "</a>\n";
    }
    s += "</div>\n";
    return s + pageEnd();
}

std::string renderPersonalPage(const Tournament& t, const PlayerHistory& h, const RoundClock* clock,
                               const PageContext& context) {
    const PageWords& w = pageWords(context.language);
    const int p = h.player;
    std::string s = pageStart(context, PageKind::Mine, w.mine);
    s += "<h2>" + html(t.names[p]) + "</h2>\n<p class=\"hint\">" + std::string(w.number) + " " +
         numberText(t, p);
    if (t.team[p] > 0)
        s += " · " + html(t.teams.name(t.team[p]));
    s += "</p>\n";
    if (h.latestTable >= 0) {
        if (const RoundClock* roundClock = clockOfRound(t, clock))
            s += clockElement(*roundClock, context.language);
        s += "<section class=\"card\"><h3>" + std::string(w.now) + ": " + std::string(w.round) +
             std::to_string(h.latestRound + 1) + ", " + std::string(w.table) +
             std::to_string(h.latestTable + 1) + "</h3>\n";
        for (int seat = 0; seat < 4; ++seat) {
            const int q = t.playerAt(h.latestRound, h.latestTable, seat);
            if (q >= 0)
                s += playerRow(t, h.latestRound, q, seat, q == p, context.language);
        }
        s += "</section>\n";
    } else {
        s += "<p class=\"hint\">" + std::string(w.noRoundYet) + "</p>\n";
    }
    s += "<h3>" + std::string(w.history) + "</h3>\n";
    s += h.rows.empty() ? "<p class=\"hint\">" + std::string(w.noHistory) + "</p>\n"
                        : historyCards(t, h, w, context.language);
    s += "<p><a href=\"" + std::string(context.root) + "my.html?pick\">" + std::string(w.notYou) +
         "</a></p>\n";
    return s + pageEnd();
}

} // namespace quelna
