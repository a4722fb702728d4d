#include "core/adjustments.h"

#include <algorithm>
#include <climits>

#include "core/text.h"
#include "core/tournament.h"

namespace quelna {

namespace {

int saturate(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

template <typename Map> void eraseRoundsFrom(Map& m, int round) {
    for (auto it = m.begin(); it != m.end();)
        it = it->first.first >= round ? m.erase(it) : std::next(it);
}

} // namespace

void Adjustments::clear() {
    substitutes_.clear();
    penalties_.clear();
    left_.clear();
}

void Adjustments::dropFrom(int round) {
    eraseRoundsFrom(substitutes_, round);
    eraseRoundsFrom(penalties_, round);
}

int Adjustments::counted(int round, int player, int tableResult) const {
    if (substitutes_.empty() && penalties_.empty())
        return tableResult;
    long long value = tableResult;
    if (const Substitute* s = substitute(round, player))
        value = s->countedResult;
    for (const Penalty& p : penalties(round, player))
        value += p.amount;
    return saturate(value);
}

const Substitute* Adjustments::substitute(int round, int player) const {
    const auto it = substitutes_.find({round, player});
    return it == substitutes_.end() ? nullptr : &it->second;
}

void Adjustments::setSubstitute(int round, int player, Substitute s) {
    substitutes_[{round, player}] = std::move(s);
}

void Adjustments::clearSubstitute(int round, int player) {
    substitutes_.erase({round, player});
}

const std::vector<Penalty>& Adjustments::penalties(int round, int player) const {
    static const std::vector<Penalty> none;
    const auto it = penalties_.find({round, player});
    return it == penalties_.end() ? none : it->second;
}

void Adjustments::addPenalty(int round, int player, Penalty p) {
    penalties_[{round, player}].push_back(std::move(p));
}

void Adjustments::setPenalties(int round, int player, std::vector<Penalty> list) {
    if (list.empty())
        penalties_.erase({round, player});
    else
        penalties_[{round, player}] = std::move(list);
}

int Adjustments::penaltyTotal(int player, int rounds) const {
    long long sum = 0;
    for (const auto& [key, list] : penalties_)
        if (key.second == player && key.first < rounds)
            for (const Penalty& p : list)
                sum += p.amount;
    return saturate(sum);
}

int Adjustments::leftFrom(int player) const {
    const auto it = left_.find(player);
    return it == left_.end() ? -1 : it->second;
}

void Adjustments::setLeftFrom(int player, int round) {
    if (round < 0)
        left_.erase(player);
    else
        left_[player] = round;
}

std::string substituteNote(const Substitute& s) {
    std::string note = "→ замена";
    if (!s.name.empty())
        note += ": " + cp1251ToUtf8(s.name);
    return note;
}

std::string seatNameUtf8(const Tournament& t, int round, int player) {
    std::string name = cp1251ToUtf8(t.names[player]);
    if (const Substitute* s = t.adjustments.substitute(round, player))
        name += ' ' + substituteNote(*s);
    return name;
}

std::string standingsTotalText(const Tournament& t, int player, int rounds) {
    std::string text = std::to_string(t.runningTotal(player, rounds));
    for (const auto& [key, list] : t.adjustments.allPenalties())
        if (key.second == player && key.first < rounds && !list.empty())
            return text + '*';
    return text;
}

void proposeSubstitutes(Tournament& t, int round, int fixedResult) {
    for (const auto& [player, from] : t.adjustments.allLeft()) {
        if (from > round || t.tableAt(round, player) < 0 || t.adjustments.substitute(round, player))
            continue;
        std::string name;
        for (int r = round - 1; r >= 0 && name.empty(); --r)
            if (const Substitute* s = t.adjustments.substitute(r, player))
                name = s->name;
        t.adjustments.setSubstitute(round, player, Substitute{name, fixedResult});
    }
}

} // namespace quelna
