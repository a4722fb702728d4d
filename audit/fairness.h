#pragma once
// How fair the seating of the rounds played so far has been, each figure beside what a field of
// this size allows at best (or, for the common opponents, what a random seating would give).
#include "core/tournament.h"

namespace quelna {

struct FairnessFigures {
    int rounds = 0; // seated rounds measured

    int repeatMeetings = 0; // meetings of a pair beyond its first
    int repeatFloor = 0;    // fewest that so many rounds force on this many players

    int teamMateMeetings = 0; // team-mates at one table, counted per round
    int teamMateFloor = 0;    // fewest that the team sizes force

    int mostAtOneTable = 0;      // most rounds any player sat at the same table number
    int mostAtOneTableFloor = 0; // ceil(rounds / tables)

    // Over pairs who never shared a table and are not team-mates; only for more than four rounds.
    bool commonMeasured = false;
    int fewestCommon = 0;           // lowest number of opponents both met
    double averageCommon = 0;       // their mean
    double randomSeatingCommon = 0; // what a seating drawn at random would give on average
};

FairnessFigures fairnessOf(const Tournament& t);

} // namespace quelna
