#pragma once
// The round clock: one per tournament, belonging to the latest seated round. Every operation
// takes the wall-clock time as a parameter, so the clock survives a restart (the times are
// absolute) and tests can drive it with a fake clock.
#include <cstdint>
#include <string>
#include <vector>

#include "core/tournament_size.h"

namespace quelna {

// Milliseconds since the Unix epoch.
using ClockTime = std::int64_t;
inline constexpr ClockTime kMinute = 60'000;
inline constexpr int kDefaultRoundMinutes = 90;
// The longest span the clock holds: a round with every minute added, a time left, a planned start
// ahead. What the settings file says beyond it is refused, so no reading can overflow.
inline constexpr ClockTime kMaxClockSpan = 24 * 60 * kMinute;
// Wall-clock times taken from the file: from the epoch to the end of the year 9999.
inline constexpr ClockTime kLatestClockTime = 253'402'300'799'999;
inline constexpr int kMaxClockTables = kMaxPlayers / 4;

ClockTime wallClockNow();

enum class ClockState { Idle, Running, Paused };

struct TableExtraTime {
    int table = 0; // 1-based
    int minutes = 0;
};

struct RoundClock {
    // Chosen by the organiser; kept across rounds.
    int lengthMinutes = kDefaultRoundMinutes; // 1..600
    std::string timeUpNote;                   // CP1251, the second line of the time-up text
    bool corner = false;                      // clock in a corner of the other slides
    bool sound = false;                       // a signal when the time is up

    // The round the clock belongs to (1-based; 0: none yet) and its state.
    int round = 0;
    ClockState state = ClockState::Idle;
    ClockTime duration = kDefaultRoundMinutes * kMinute; // with the minutes added or removed
    ClockTime endsAt = 0;                                // Running: when the time is up
    ClockTime left = 0;                                  // Paused: what was left
    ClockTime startsAt = 0;            // planned start for the countdown before the round; 0: none
    std::vector<TableExtraTime> extra; // by table number, minutes > 0
};

// Idle: starts with the whole duration; Paused: resumes. Running: nothing.
void startClock(RoundClock& c, ClockTime now);
void pauseClock(RoundClock& c, ClockTime now);
// Adds (or with a negative count removes) whole minutes to the round; before the start the
// duration never goes below one minute, and never beyond kMaxClockSpan.
void addMinutes(RoundClock& c, int minutes);
// Back to the full length for round, stopped, without extra time; the planned start stays.
void resetClock(RoundClock& c, int round);
// The clock follows the latest seated round; a change of round resets it. No seated round
// leaves it as it is (the tournament may still be loading).
void followRound(RoundClock& c, int latestRound);
// minutes <= 0 removes the table's extra time.
void setTableExtra(RoundClock& c, int table, int minutes);
int tableExtra(const RoundClock& c, int table);

enum class ClockPhase {
    Idle,        // not started, no planned start ahead
    BeforeStart, // not started, counting down to startsAt
    Running,
    Paused,
    TimeUp // the round's time is over, paused or not
};

struct TableReading {
    int table = 0;
    ClockTime left = 0; // may be negative: its time is up too
};

// What the clock shows at `now`.
struct ClockReading {
    ClockPhase phase = ClockPhase::Idle;
    ClockTime left = 0;   // of the round; to the start for BeforeStart; <= 0 when TimeUp
    int gonePermille = 0; // the bar, 0..1000
    bool paused = false;  // also when the time is up while paused
    std::vector<TableReading> tables;
};

ClockReading readClock(const RoundClock& c, ClockTime now);

// "m:ss" counted up to whole seconds, so 0:00 shows exactly at time-up; "h:mm:ss" from 100
// minutes on. Negative times show as 0:00, absurd ones as 1000 hours.
std::string clockDigits(ClockTime left);

} // namespace quelna
