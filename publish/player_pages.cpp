#include "publish/player_pages.h"

#include <vector>

#include "core/standings.h"
#include "core/text.h"
#include "publish/web_text.h"

namespace quelna {

namespace {

// Phones first: one column of cards at 360 px, more on a wide screen; long names and tie texts
// wrap instead of widening the page.
constexpr std::string_view kStyle =
    "*{box-sizing:border-box}"
    "body{margin:0;font:17px/1.35 system-ui,-apple-system,'Segoe UI',Roboto,Arial,sans-serif;"
    "color:#111;background:#eef0f3;overflow-wrap:anywhere}"
    "header{background:#1f3a5f;color:#fff;padding:10px 14px}"
    "h1{font-size:1.2rem;margin:0 0 6px}"
    "nav a{color:#fff;margin-right:14px;white-space:nowrap}"
    "nav a.here{font-weight:700;text-decoration:none}"
    "main{padding:10px;max-width:1100px;margin:0 auto}"
    "h2{font-size:1.5rem;margin:4px 0 10px}"
    "#find{width:100%;font-size:1.1rem;padding:10px;margin:0 0 10px;border:1px solid #888;"
    "border-radius:8px}"
    ".cards{display:grid;gap:10px;grid-template-columns:repeat(auto-fill,minmax(300px,1fr))}"
    ".card{background:#fff;border-radius:10px;box-shadow:0 1px 3px rgba(0,0,0,.25);"
    "padding:8px 12px}"
    ".card h3{margin:0 0 4px;font-size:1.15rem}"
    ".p{display:grid;grid-template-columns:1.4em 3.2em 1fr;gap:6px;padding:6px 0;"
    "border-top:1px solid #e3e6ea}"
    ".seat{color:#777}.num{font-weight:700;text-align:right}"
    ".team,.hint{color:#555;font-size:.9rem}.team{display:block}"
    ".hit{background:#fff1a8}"
    "[hidden]{display:none!important}"
    ".clock{background:#fff;border-radius:10px;box-shadow:0 1px 3px rgba(0,0,0,.25);"
    "padding:8px 12px;margin:0 0 10px;text-align:center}"
    ".clock .t{display:block;font-size:2.8rem;font-weight:700;font-variant-numeric:tabular-nums}"
    ".clock.up .t{color:#b00020;font-size:2rem}.extra{color:#b00020;font-size:.95rem}"
    "table{width:100%;border-collapse:collapse;background:#fff}"
    "th,td{padding:6px 5px;text-align:left;border-bottom:1px solid #e3e6ea;vertical-align:top}"
    "th{background:#dde3ea;white-space:nowrap;overflow-wrap:normal}"
    "td.r,th.r{text-align:right;white-space:nowrap;overflow-wrap:normal}"
    "td.place{max-width:5em}";

// The round clock, when the page has one: counted down from the end time the program gave, so a
// phone that slept shows the right time at once; the state is asked for again at most every 30
// seconds (a clock gone from seating.json, say of a round now over, hides). Then the search, which
// filters the cards as one types: a card stays when one of its players has the number typed or a
// name containing the text; those players are marked.
constexpr std::string_view kScript =
    "(function(){var c=document.getElementById('clock');if(!c)return;"
    "var d=c.dataset,k={s:d.s,e:+d.e,l:+d.l,b:+d.b},h=c.querySelector('.h'),"
    "t=c.querySelector('.t'),asked=Date.now();"
    "function mmss(ms){var x=Math.ceil(ms/1000),m=Math.floor(x/60),s=x%60;"
    "return m+':'+(s<10?'0':'')+s;}"
    "function draw(){var n=Date.now(),l=k.s==='running'?k.e-n:k.s==='paused'?k.l:null;"
    "if(l===null){c.hidden=!(k.b>n);h.textContent='До начала тура';t.textContent=mmss(k.b-n);"
    "return;}c.hidden=false;c.classList.toggle('up',l<=0);"
    "h.textContent=l<=0?'':k.s==='paused'?'Пауза':'До конца тура';"
    "t.textContent=l<=0?'Время вышло':mmss(l);}"
    "function ask(){if(Date.now()-asked<30000)return;asked=Date.now();"
    "fetch('seating.json',{cache:'no-store'}).then(function(r){return r.json();})"
    ".then(function(j){var x=j.clock||{state:'idle'};"
    "k={s:x.state,e:x.endsAt,l:x.left,b:x.startsAt};"
    "draw();}).catch(function(){});}"
    "setInterval(function(){draw();if(!document.hidden)ask();},1000);"
    "document.addEventListener('visibilitychange',function(){if(!document.hidden){draw();ask();}});"
    "draw();})();"
    "var f=document.getElementById('find');f.hidden=false;"
    "f.addEventListener('input',function(){var q=f.value.trim().toLowerCase();"
    "document.querySelectorAll('.card').forEach(function(c){var any=false;"
    "c.querySelectorAll('.p').forEach(function(r){var m=q!==''&&(r.dataset.n===q||"
    "r.dataset.k.toLowerCase().indexOf(q)>=0);r.classList.toggle('hit',m);any=any||m;});"
    "c.hidden=q!==''&&!any;});});";

std::string utf8(std::string_view cp1251) {
    return cp1251ToUtf8(cp1251);
}

std::string html(std::string_view cp1251) {
    return escapeHtml(cp1251ToUtf8(cp1251));
}

std::string titleText(std::string_view titleCp1251) {
    return titleCp1251.empty() ? std::string("Страница для игроков") : utf8(titleCp1251);
}

std::string numberText(const Tournament& t, int player) {
    const int n = t.playerNumber[player];
    return n < 0 ? std::string("—") : std::to_string(n + 1);
}

std::string policy(bool forMetaTag) {
    std::string p = "default-src 'none'; style-src 'unsafe-inline'; script-src 'sha256-" +
                    sha256Base64(kScript) +
                    "'; connect-src 'self'; base-uri 'none'; form-action 'none'";
    if (!forMetaTag)
        p += "; frame-ancestors 'none'"; // only honoured as a header
    return p;
}

enum class Page { Seating, Standings, Teams };

std::string pageStart(std::string_view titleCp1251, Page page, std::string_view heading) {
    const std::string title = escapeHtml(titleText(titleCp1251));
    std::string s = "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                    "<meta http-equiv=\"Content-Security-Policy\" content=\"" +
                    policy(true) + "\">\n<title>" + std::string(heading) + " — " + title +
                    "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
    s += "<header><h1>" + title + "</h1><nav>";
    const std::pair<Page, std::string_view> links[] = {
        {Page::Seating, "<a href=\"index.html\"%>Рассадка</a>"},
        {Page::Standings, "<a href=\"standings.html\"%>Турнирная таблица</a>"},
        {Page::Teams, "<a href=\"teams.html\"%>Команды</a>"}};
    for (const auto& [p, link] : links) {
        std::string a(link);
        a.replace(a.find('%'), 1, p == page ? " class=\"here\"" : "");
        s += a;
    }
    return s + "</nav></header>\n<main>\n";
}

constexpr std::string_view kPageEnd = "</main>\n</body>\n</html>\n";

// The clock of the round shown, or null when there is none for it.
const RoundClock* clockOfRound(const Tournament& t, const RoundClock* clock) {
    return clock && t.currentRound >= 1 && clock->round == t.currentRound ? clock : nullptr;
}

const char* stateName(ClockState state) {
    switch (state) {
    case ClockState::Running:
        return "running";
    case ClockState::Paused:
        return "paused";
    default:
        return "idle";
    }
}

// The page's script starts from these and then follows seating.json.
std::string clockElement(const RoundClock& c) {
    return "<div id=\"clock\" class=\"clock\" data-s=\"" + std::string(stateName(c.state)) +
           "\" data-e=\"" + std::to_string(c.state == ClockState::Running ? c.endsAt : 0) +
           "\" data-l=\"" + std::to_string(c.state == ClockState::Paused ? c.left : 0) +
           "\" data-b=\"" + std::to_string(c.startsAt) +
           "\" hidden><span class=\"h\"></span><span class=\"t\"></span></div>\n";
}

std::string clockJson(const RoundClock& c) {
    auto timeOrNull = [](bool has, ClockTime value) {
        return has ? std::to_string(value) : std::string("null");
    };
    std::string s = "{\"round\": " + std::to_string(c.round) + ", \"state\": \"" +
                    stateName(c.state) +
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
    return kScript;
}

const std::string& contentSecurityPolicy() {
    static const std::string header = policy(false);
    return header;
}

std::string renderIndexHtml(const Tournament& t, std::string_view titleCp1251,
                            const RoundClock* clock) {
    std::string s = pageStart(titleCp1251, Page::Seating, "Рассадка");
    const int round = t.currentRound - 1;
    if (round < 0) {
        s += "<h2>Рассадка ещё не объявлена</h2>\n<p class=\"hint\">Страница покажет столы, как "
             "только будет рассажен первый тур.</p>\n";
        return s + std::string(kPageEnd);
    }
    s += "<h2>ТУР № " + std::to_string(round + 1) + "</h2>\n";
    const RoundClock* roundClock = clockOfRound(t, clock);
    if (roundClock)
        s += clockElement(*roundClock);
    s += "<input id=\"find\" type=\"search\" placeholder=\"Имя или номер\" "
         "aria-label=\"Найти игрока\" autocomplete=\"off\" hidden>\n<div class=\"cards\">\n";
    for (int tb = 0; tb < t.tableCount(); ++tb) {
        s += "<section class=\"card\"><h3>СТОЛ № " + std::to_string(tb + 1);
        if (const int extra = roundClock ? tableExtra(*roundClock, tb + 1) : 0)
            s += " <span class=\"extra\">+" + std::to_string(extra) + " мин</span>";
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
                s += "<span class=\"team\">" + escapeHtml(substituteNote(*sub)) + "</span>";
            s += "</span></div>\n";
        }
        s += "</section>\n";
    }
    s += "</div>\n<script>" + std::string(kScript) + "</script>\n";
    return s + std::string(kPageEnd);
}

std::string renderStandingsHtml(const Tournament& t, std::string_view titleCp1251) {
    std::string s = pageStart(titleCp1251, Page::Standings, "Турнирная таблица");
    s += "<h2>Турнирная таблица</h2>\n<p class=\"hint\">Туров рассажено: " +
         std::to_string(t.currentRound) + " из " + std::to_string(t.roundCount) + "</p>\n";
    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, t.roundCount, order, places);
    s += "<table>\n<tr><th>Место</th><th class=\"r\">№</th><th>Игрок</th><th "
         "class=\"r\">Очки</th></tr>\n";
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int p = order[i];
        s += "<tr><td class=\"place\">" + (allEqual ? std::string("0") : places[i]) +
             "</td><td class=\"r\">" + numberText(t, p) + "</td><td>" + html(t.names[p]);
        if (t.team[p] > 0)
            s += "<span class=\"team\">" + html(t.teams.name(t.team[p])) + "</span>";
        s += "</td><td class=\"r\">" + standingsTotalText(t, p, t.roundCount) + "</td></tr>\n";
    }
    s += "</table>\n";
    return s + std::string(kPageEnd);
}

std::string renderTeamsHtml(const Tournament& t, std::string_view titleCp1251) {
    std::string s = pageStart(titleCp1251, Page::Teams, "Команды");
    s += "<h2>Командный зачёт</h2>\n";
    if (t.teams.count() == 0) {
        s += "<p class=\"hint\">В этом турнире нет команд.</p>\n";
        return s + std::string(kPageEnd);
    }
    std::vector<int> order;
    std::vector<int> totals;
    std::vector<std::string> places;
    const bool allEqual = rankTeams(t, t.roundCount, order, totals, places);
    s += "<table>\n<tr><th>Место</th><th>Команда</th><th class=\"r\">Очки</th></tr>\n";
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int k = order[i];
        s += "<tr><td class=\"place\">" + (allEqual ? std::string("0") : places[i]) + "</td><td>" +
             html(t.teams.name(k + 1)) + "</td><td class=\"r\">" + std::to_string(totals[k]) +
             "</td></tr>\n";
    }
    s += "</table>\n";
    return s + std::string(kPageEnd);
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
                              const RoundClock* clock) {
    return {renderIndexHtml(t, titleCp1251, clock), renderStandingsHtml(t, titleCp1251),
            renderTeamsHtml(t, titleCp1251), renderSeatingJson(t, titleCp1251, clock)};
}

} // namespace quelna
