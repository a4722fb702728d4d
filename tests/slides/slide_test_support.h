#pragma once
// Tournaments and helpers shared by the slide tests.
#include <QFrame>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QTest>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/text.h"
#include "core/tournament.h"
#include "slides/slide_show.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join(QStringLiteral(u"|")).toStdString() << ']';
}

namespace quelna::test {

inline const QRect kFullHd(0, 0, 1920, 1080);

// Restores the process-wide settings when a test is done with them.
struct SettingsGuard {
    Settings saved = settings();
    ~SettingsGuard() { settings() = saved; }
};

inline SlideOptions options(int tablesX = 2, int tablesY = 2, int lines = 8, int interval = 7) {
    SlideOptions o;
    o.title = QStringLiteral(u"Кубок города");
    o.tablesX = tablesX;
    o.tablesY = tablesY;
    o.lines = lines;
    o.interval = interval;
    return o;
}

inline std::string cyr(const char* utf8) {
    return utf8ToCp1251(utf8);
}

inline QString nameOf(int p) {
    return QStringLiteral(u"Игрок %1").arg(p);
}

// players names "Игрок p", start numbers p (shown p + 1); the first `seated` rounds are seated
// with table (p + 5r) mod N / 4, then normalizeRounds gives seats and currentRound.
inline Tournament seatedTournament(int players, int rounds, int seated) {
    Tournament t(players, rounds);
    for (int p = 0; p < players; ++p) {
        t.setName(p, utf8ToCp1251(nameOf(p).toStdString()));
        t.playerNumber[p] = p;
    }
    for (int r = 0; r < seated; ++r)
        for (int p = 0; p < players; ++p)
            t.tableAt(r, p) = ((p + 5 * r) % players) / 4;
    t.normalizeRounds();
    return t;
}

inline bool hasFrame(const SlideShow& show, const QRect& r) {
    for (const QFrame* f : show.frames())
        if (f->geometry() == r)
            return true;
    return false;
}

inline QStringList texts(const std::vector<QLabel*>& labels, size_t from, size_t count) {
    QStringList out;
    for (size_t i = from; i < from + count && i < labels.size(); ++i)
        out << labels[i]->text();
    return out;
}

inline bool allEmpty(const std::vector<QLabel*>& labels) {
    for (const QLabel* l : labels)
        if (!l->text().isEmpty())
            return false;
    return true;
}

inline QStringList strings(std::initializer_list<const char16_t*> texts) {
    QStringList out;
    for (const char16_t* t : texts)
        out << QString::fromUtf16(t);
    return out;
}

inline void ticks(SlideShow& show, int n) {
    for (int i = 0; i < n; ++i)
        show.tick();
}

// Shows the window and waits until the platform has put it on screen.
inline bool exposed(SlideShow& show) {
    show.show();
    return QTest::qWaitForWindowExposed(&show);
}

} // namespace quelna::test
