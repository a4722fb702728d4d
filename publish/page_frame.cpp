#include "publish/page_frame.h"

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
    "nav a{color:#fff;margin-right:14px;white-space:nowrap;display:inline-block}"
    "nav a.here{font-weight:700;text-decoration:none}nav a.lang{float:right;margin-right:0}"
    "main{padding:10px;max-width:1100px;margin:0 auto}"
    "h2{font-size:1.5rem;margin:4px 0 10px}"
    "#find{width:100%;font-size:1.1rem;padding:10px;margin:0 0 10px;border:1px solid #888;"
    "border-radius:8px}"
    ".cards{display:grid;gap:10px;grid-template-columns:repeat(auto-fill,minmax(300px,1fr))}"
    ".card{background:#fff;border-radius:10px;box-shadow:0 1px 3px rgba(0,0,0,.25);"
    "padding:8px 12px;margin:0 0 10px}.cards .card{margin:0}"
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
    "td.place{max-width:5em}td .team{font-size:.85rem}"
    ".pick a{display:block;padding:9px 4px;border-top:1px solid #e3e6ea;color:#123;"
    "text-decoration:none}.pick b{display:inline-block;min-width:3em}"
    ".mark{color:#b00020}.pts{float:right;font-variant-numeric:tabular-nums}"
    ".opp{color:#333;font-size:.95rem}.sum{margin-top:4px}";

// One script for every page, so the policy names one hash. The round clock, when the page has
// one: counted down from the end time the program gave, so a phone that slept shows the right
// time at once; its state is asked for again at most every 30 seconds. The search, which filters
// the cards as one types. The choice of "Мой турнир", kept on the phone. And the page following
// the server: every few seconds, while it is shown, it asks for itself again with its entity tag
// (an unchanged page costs a 304) and swaps in what changed, keeping what was typed in the search.
constexpr std::string_view kScript =
    "(function(){var k=null,asked=0,tag=null,b=document.body,root=b.dataset.root||'',"
    "key='quelna.me';"
    "function el(i){return document.getElementById(i);}"
    "function mmss(ms){var x=Math.ceil(ms/1000),m=Math.floor(x/60),s=x%60;"
    "return m+':'+(s<10?'0':'')+s;}"
    "function clock(){var c=el('clock');k=null;if(!c)return;var d=c.dataset;"
    "k={s:d.s,e:+d.e,l:+d.l,b:+d.b};asked=Date.now();}"
    "function draw(){var c=el('clock');if(!c||!k)return;var d=c.dataset,h=c.querySelector('.h'),"
    "t=c.querySelector('.t'),n=Date.now(),l=k.s==='running'?k.e-n:k.s==='paused'?k.l:null;"
    "if(l===null){c.hidden=!(k.b>n);h.textContent=d.tb;t.textContent=mmss(k.b-n);return;}"
    "c.hidden=false;c.classList.toggle('up',l<=0);"
    "h.textContent=l<=0?'':k.s==='paused'?d.tp:d.tl;t.textContent=l<=0?d.tu:mmss(l);}"
    "function ask(){if(!el('clock')||Date.now()-asked<30000)return;asked=Date.now();"
    "fetch(root+'seating.json',{cache:'no-store'}).then(function(r){return r.json();})"
    ".then(function(j){var x=j.clock||{state:'idle'};"
    "k={s:x.state,e:x.endsAt,l:x.left,b:x.startsAt};draw();}).catch(function(){});}"
    "function find(){var f=el('find');if(!f)return;var q=f.value.trim().toLowerCase();"
    "document.querySelectorAll('.card').forEach(function(c){var any=false;"
    "c.querySelectorAll('.p').forEach(function(r){var m=q!==''&&(r.dataset.n===q||"
    "r.dataset.k.toLowerCase().indexOf(q)>=0);if(c.classList.contains('pick'))r.hidden=q!==''&&!m;"
    "else r.classList.toggle('hit',m);any=any||m;});"
    "c.hidden=q!==''&&!any;});}"
    "function bind(){var f=el('find');if(f){f.hidden=false;f.addEventListener('input',find);}"
    "document.querySelectorAll('a[data-me]').forEach(function(a){a.addEventListener('click',"
    "function(){try{localStorage.setItem(key,a.dataset.me);}catch(e){}});});}"
    "function follow(){if(document.hidden)return;"
    "fetch(location.href,{cache:'no-cache'}).then(function(r){var e=r.headers.get('ETag');"
    "if(!r.ok||(e&&e===tag))return null;tag=e;return r.text();}).then(function(x){if(!x)return;"
    "var m=new DOMParser().parseFromString(x,'text/html').querySelector('main'),"
    "o=document.querySelector('main');if(!m||!o||m.innerHTML===o.innerHTML)return;"
    "var f=el('find'),q=f?f.value:'';o.innerHTML=m.innerHTML;clock();bind();f=el('find');"
    "if(f&&q){f.value=q;find();}draw();}).catch(function(){});}"
    "if(b.dataset.page==='my'){var me=null;try{if(location.search.indexOf('pick')>=0)"
    "localStorage.removeItem(key);else me=localStorage.getItem(key);}catch(e){}"
    "if(me&&/^[0-9]+$/.test(me)){location.replace(root+'p/'+me);return;}}"
    "clock();bind();draw();"
    "setInterval(function(){draw();if(!document.hidden)ask();},1000);"
    "if(b.dataset.live)setTimeout(function(){follow();setInterval(follow,+b.dataset.live);},"
    "Math.random()*(+b.dataset.live));"
    "document.addEventListener('visibilitychange',function(){if(!document.hidden){draw();ask();"
    "if(b.dataset.live)follow();}});})();";

// How often an open page asks whether it changed, in milliseconds.
constexpr int kFollowMilliseconds = 4000;

std::string policy(bool forMetaTag) {
    std::string p = "default-src 'none'; style-src 'unsafe-inline'; script-src 'sha256-" +
                    sha256Base64(kScript) +
                    "'; connect-src 'self'; base-uri 'none'; form-action 'none'";
    if (!forMetaTag)
        p += "; frame-ancestors 'none'"; // only honoured as a header
    return p;
}

} // namespace

std::string html(std::string_view cp1251) {
    return escapeHtml(cp1251ToUtf8(cp1251));
}

std::string titleText(const PageContext& c) {
    return c.titleCp1251.empty() ? std::string(pageWords(c.language).defaultTitle)
                                 : cp1251ToUtf8(c.titleCp1251);
}

std::string pageStart(const PageContext& c, PageKind here, std::string_view heading) {
    const PageWords& w = pageWords(c.language);
    const std::string title = escapeHtml(titleText(c));
    const std::string root(c.root);
    std::string s = "<!DOCTYPE html>\n<html lang=\"" + std::string(w.code) +
                    "\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                    "<meta http-equiv=\"Content-Security-Policy\" content=\"" +
                    policy(true) + "\">\n<title>" + std::string(heading) + " — " + title +
                    "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body";
    if (c.served)
        s += " data-root=\"" + root + "\" data-live=\"" + std::to_string(kFollowMilliseconds) +
             "\"" + (c.picker ? " data-page=\"my\"" : "");
    s += ">\n<header><h1>" + title + "</h1><nav>";
    struct Link {
        PageKind kind;
        std::string_view file, text;
    };
    const Link links[] = {{PageKind::Seating, "index.html", w.seating},
                          {PageKind::Standings, "standings.html", w.standings},
                          {PageKind::Teams, "teams.html", w.teams},
                          {PageKind::Mine, "my.html", w.mine}};
    for (const Link& l : links) {
        if (l.kind == PageKind::Mine && !c.served)
            continue;
        s += "<a href=\"" + root + std::string(l.file) + "\"" +
             (l.kind == here ? " class=\"here\"" : "") + ">" + std::string(l.text) + "</a>";
    }
    if (c.served) {
        const PageLanguage other =
            c.language == PageLanguage::Russian ? PageLanguage::English : PageLanguage::Russian;
        s += "<a class=\"lang\" href=\"?lang=" + std::string(pageWords(other).code) + "\" lang=\"" +
             std::string(pageWords(other).code) + "\">" + std::string(w.other) + "</a>";
    }
    return s + "</nav></header>\n<main>\n";
}

std::string pageEnd() {
    return "</main>\n<script>" + std::string(kScript) + "</script>\n</body>\n</html>\n";
}

const RoundClock* clockOfRound(const Tournament& t, const RoundClock* clock) {
    return clock && t.currentRound >= 1 && clock->round == t.currentRound ? clock : nullptr;
}

const char* clockStateName(ClockState state) {
    switch (state) {
    case ClockState::Running:
        return "running";
    case ClockState::Paused:
        return "paused";
    default:
        return "idle";
    }
}

std::string clockElement(const RoundClock& c, PageLanguage language) {
    const PageWords& w = pageWords(language);
    return "<div id=\"clock\" class=\"clock\" data-s=\"" + std::string(clockStateName(c.state)) +
           "\" data-e=\"" + std::to_string(c.state == ClockState::Running ? c.endsAt : 0) +
           "\" data-l=\"" + std::to_string(c.state == ClockState::Paused ? c.left : 0) +
           "\" data-b=\"" + std::to_string(c.startsAt) + "\" data-tb=\"" +
           std::string(w.clockBefore) + "\" data-tl=\"" + std::string(w.clockLeft) +
           "\" data-tp=\"" + std::string(w.clockPaused) + "\" data-tu=\"" + std::string(w.clockUp) +
           "\" hidden><span class=\"h\"></span><span class=\"t\"></span></div>\n";
}

std::string numberText(const Tournament& t, int player) {
    const int n = t.playerNumber[player];
    return n < 0 ? std::string("—") : std::to_string(n + 1);
}

std::string_view pageScript() {
    return kScript;
}

const std::string& pagePolicy() {
    static const std::string header = policy(false);
    return header;
}

} // namespace quelna
