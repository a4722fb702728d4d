#include "core/round_clock.h"

#include <algorithm>
#include <chrono>

namespace quelna {

ClockTime wallClockNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void startClock(RoundClock& c, ClockTime now) {
    if (c.state == ClockState::Running)
        return;
    c.endsAt = now + (c.state == ClockState::Paused ? c.left : c.duration);
    c.state = ClockState::Running;
    c.startsAt = 0; // the planned start has served its purpose
}

void pauseClock(RoundClock& c, ClockTime now) {
    if (c.state != ClockState::Running)
        return;
    // Kept even when negative: a table with extra time goes on from the same point. A pause long
    // after the end keeps no more than the file takes back.
    c.left = std::max(c.endsAt - now, -kMaxClockSpan);
    c.state = ClockState::Paused;
}

void addMinutes(RoundClock& c, int minutes) {
    constexpr int kMost = static_cast<int>(kMaxClockSpan / kMinute);
    const ClockTime delta = std::min(ClockTime{std::clamp(minutes, -kMost, kMost)} * kMinute,
                                     kMaxClockSpan - c.duration);
    switch (c.state) {
    case ClockState::Idle:
        c.duration = std::max(kMinute, c.duration + delta);
        return;
    case ClockState::Running:
        c.endsAt += delta;
        break;
    case ClockState::Paused:
        c.left += delta;
        break;
    }
    c.duration = std::max(kMinute, c.duration + delta);
}

void resetClock(RoundClock& c, int round) {
    c.round = round;
    c.state = ClockState::Idle;
    c.duration = std::clamp(c.lengthMinutes, 1, 600) * kMinute;
    c.endsAt = 0;
    c.left = 0;
    c.extra.clear();
}

void followRound(RoundClock& c, int latestRound) {
    if (latestRound >= 1 && latestRound != c.round)
        resetClock(c, latestRound);
}

void setTableExtra(RoundClock& c, int table, int minutes) {
    auto at = std::find_if(c.extra.begin(), c.extra.end(),
                           [table](const TableExtraTime& e) { return e.table == table; });
    if (minutes <= 0) {
        if (at != c.extra.end())
            c.extra.erase(at);
        return;
    }
    if (at != c.extra.end()) {
        at->minutes = minutes;
        return;
    }
    c.extra.push_back({table, minutes});
    std::sort(c.extra.begin(), c.extra.end(),
              [](const TableExtraTime& a, const TableExtraTime& b) { return a.table < b.table; });
}

int tableExtra(const RoundClock& c, int table) {
    for (const TableExtraTime& e : c.extra)
        if (e.table == table)
            return e.minutes;
    return 0;
}

ClockReading readClock(const RoundClock& c, ClockTime now) {
    ClockReading r;
    switch (c.state) {
    case ClockState::Idle:
        if (c.startsAt > now) {
            r.phase = ClockPhase::BeforeStart;
            r.left = c.startsAt - now;
        } else {
            r.phase = ClockPhase::Idle;
            r.left = c.duration;
        }
        return r; // extra time counts only once the round runs
    case ClockState::Running:
        r.left = c.endsAt - now;
        r.phase = ClockPhase::Running;
        break;
    case ClockState::Paused:
        r.left = c.left;
        r.phase = ClockPhase::Paused;
        r.paused = true;
        break;
    }
    if (r.left <= 0)
        r.phase = ClockPhase::TimeUp;
    const ClockTime gone = std::clamp<ClockTime>(c.duration - r.left, 0, c.duration);
    r.gonePermille = c.duration > 0 ? static_cast<int>(gone * 1000 / c.duration) : 1000;
    for (const TableExtraTime& e : c.extra)
        r.tables.push_back({e.table, r.left + e.minutes * kMinute});
    return r;
}

std::string clockDigits(ClockTime left) {
    constexpr ClockTime kMostShown = 1000 * 60 * kMinute; // no overflow below, whatever left is
    const ClockTime seconds = left <= 0 ? 0 : (std::min(left, kMostShown) + 999) / 1000;
    const ClockTime minutes = seconds / 60;
    auto two = [](ClockTime v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    if (minutes < 100)
        return std::to_string(minutes) + ":" + two(seconds % 60);
    return std::to_string(minutes / 60) + ":" + two(minutes % 60) + ":" + two(seconds % 60);
}

} // namespace quelna
