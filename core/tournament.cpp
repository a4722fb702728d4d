#include "core/tournament.h"

#include <algorithm>
#include <array>
#include <climits>

#include "core/exchange_sort.h"
#include "core/text.h"

namespace quelna {

namespace {
const std::string kEmpty;
}

const std::string& TeamList::name(int k) const {
    if (k < 1 || k > count())
        return kEmpty;
    return teamNames_[k - 1];
}

int TeamList::findOrAdd(std::string_view name) {
    if (name.empty())
        return 0;
    const std::string stored = sanitizeName(name);
    for (int k = 1; k <= count(); ++k)
        if (teamNames_[k - 1] == stored)
            return k;
    teamNames_.push_back(stored);
    return count();
}

void TeamList::remove(int k) {
    if (k < 1 || k > count())
        return;
    teamNames_.erase(teamNames_.begin() + (k - 1));
}

Tournament::Tournament(int players, int rounds)
    : playerCount(players), roundCount(rounds), names(players), playerNumber(players, -1),
      team(players, 0), tableOf(players * rounds, -1), seatOf(players * rounds, -1),
      points(players * rounds, 0), entries(players * rounds, PointsEntry::Number),
      meetings(players) {}

bool isWholeNumberText(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

const std::string& Tournament::typedTextAt(int round, int player) const {
    const auto it = typedTexts.find(index(round, player));
    return it == typedTexts.end() ? kEmpty : it->second;
}

void Tournament::typePoints(int round, int player, std::string_view typed) {
    const int i = index(round, player);
    typedTexts.erase(i);
    if (typed.empty()) {
        entries[i] = PointsEntry::Untyped;
        points[i] = 0;
        return;
    }
    points[i] = parseLeadingInt(typed);
    if (isWholeNumberText(typed)) {
        entries[i] = PointsEntry::Number;
        return;
    }
    entries[i] = PointsEntry::Text;
    typedTexts[i] = std::string(typed);
}

void Tournament::setNumberAt(int round, int player, int value) {
    const int i = index(round, player);
    typedTexts.erase(i);
    entries[i] = PointsEntry::Number;
    points[i] = value;
}

void Tournament::markRoundUntyped(int round) {
    for (int p = 0; p < playerCount; ++p) {
        typedTexts.erase(index(round, p));
        entries[index(round, p)] = PointsEntry::Untyped;
        pointsAt(round, p) = 0;
    }
}

bool Tournament::hasUntyped(int round) const {
    for (int p = 0; p < playerCount; ++p)
        if (entryAt(round, p) == PointsEntry::Untyped)
            return true;
    return false;
}

bool Tournament::hasText(int round) const {
    for (int p = 0; p < playerCount; ++p)
        if (entryAt(round, p) == PointsEntry::Text)
            return true;
    return false;
}

void Tournament::setName(int player, std::string_view cp1251) {
    names[player] = sanitizeName(cp1251);
}

void Tournament::clear() {
    for (int p = 0; p < playerCount; ++p) {
        names[p].clear();
        team[p] = 0;
        playerNumber[p] = -1;
    }
    tableOf.assign(tableOf.size(), -1);
    seatOf.assign(seatOf.size(), -1);
    points.assign(points.size(), 0);
    entries.assign(entries.size(), PointsEntry::Number);
    typedTexts.clear();
    rebuildMeetings();
    currentRound = 0;
    teams.clear();
    adjustments.clear();
}

MeetingMatrix Tournament::meetingsBefore(int round) const {
    MeetingMatrix m(playerCount);
    for (int a = 0; a < playerCount; ++a)
        for (int b = a + 1; b < playerCount; ++b) {
            if (team[a] > 0 && team[a] == team[b])
                m.add(a, b);
            for (int k = 0; k < round && k < roundCount; ++k)
                if (tableAt(k, a) != -1 && tableAt(k, a) == tableAt(k, b))
                    m.add(a, b);
        }
    return m;
}

void Tournament::rebuildMeetings() {
    meetings = meetingsBefore(0);
}

int Tournament::runningTotal(int player, int rounds) const {
    // Points come from files and typing as any 32-bit value; the sum saturates instead of
    // overflowing.
    long long total = 0;
    for (int r = 0; r < rounds && r < roundCount; ++r)
        total += countedPointsAt(r, player);
    return static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX));
}

int Tournament::playerAt(int round, int table, int seat) const {
    if (round < 0 || round >= roundCount || table < 0 || seat < 0)
        return -1;
    for (int p = 0; p < playerCount; ++p)
        if (tableAt(round, p) == table && seatAt(round, p) == seat)
            return p;
    return -1;
}

void Tournament::setPoints(int round, int table, int seat, int value) {
    const int p = playerAt(round, table, seat);
    if (p >= 0)
        setNumberAt(round, p, value);
}

void Tournament::setRegistration(int row, std::string_view name, std::string_view teamName,
                                 int number) {
    if (row < 0 || row >= playerCount)
        return;
    setName(row, name);
    team[row] = teams.findOrAdd(teamName);
    playerNumber[row] = number >= 1 ? number - 1 : -1;
}

bool Tournament::hasCompleteNumbering() const {
    for (int value = 0; value < playerCount; ++value) {
        bool found = false;
        for (int p = 0; p < playerCount && !found; ++p)
            found = playerNumber[p] == value;
        if (!found)
            return false;
    }
    return true;
}

bool Tournament::isRoundComplete(int round) const {
    std::vector<int> count(tableCount(), 0);
    for (int p = 0; p < playerCount; ++p) {
        const int t = tableAt(round, p);
        if (t >= 0 && t < tableCount())
            ++count[t];
    }
    for (int c : count)
        if (c != 4)
            return false;
    return true;
}

void Tournament::normalizeRounds() {
    currentRound = 0;
    while (currentRound < roundCount && isRoundComplete(currentRound))
        ++currentRound;
    meetings = meetingsBefore(currentRound);
    for (int k = 0; k < currentRound; ++k)
        assignSeats(k);
    for (int r = currentRound; r < roundCount; ++r)
        for (int p = 0; p < playerCount; ++p) {
            tableAt(r, p) = -1;
            seatAt(r, p) = -1;
            pointsAt(r, p) = 0;
            entries[index(r, p)] = PointsEntry::Number;
            typedTexts.erase(index(r, p));
        }
    adjustments.dropFrom(currentRound);
}

void Tournament::assignSeats(int round) {
    struct Entry {
        int slot, number, total;
    };
    for (int t = 0; t < tableCount(); ++t) {
        std::array<Entry, 4> e{};
        int n = 0;
        for (int p = 0; p < playerCount && n < 4; ++p)
            if (tableAt(round, p) == t)
                e[n++] = {p, playerNumber[p], runningTotal(p, round)};
        exchangeSort(e.begin(), e.begin() + n, [](const Entry& a, const Entry& b) {
            return a.total < b.total || (a.total == b.total && a.number > b.number);
        });
        for (int s = 0; s < n; ++s)
            seatAt(round, e[s].slot) = s;
    }
}

void Tournament::purgeUnusedTeams() {
    int k = 1;
    while (k <= teams.count()) {
        bool used = false;
        for (int p = 0; p < playerCount && !used; ++p)
            used = team[p] == k;
        if (used) {
            ++k;
            continue;
        }
        teams.remove(k);
        for (int p = 0; p < playerCount; ++p)
            if (team[p] > k)
                --team[p];
    }
}

int firstMisplacedPlayer(const Tournament& t, int round) {
    std::vector<int> count(t.tableCount(), 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int x = t.tableAt(round, p);
        if (x == -1)
            continue;
        if (x < 0 || x >= t.tableCount() || ++count[x] > 4)
            return p;
    }
    return -1;
}

} // namespace quelna
