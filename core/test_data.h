#pragma once
// Test-mode generators: random names, teams of four and round results, so that a whole
// tournament can be played through without players. Every draw comes from the given generator,
// in a fixed order, so a seed reproduces a tournament.
#include <span>
#include <string_view>

#include "core/random.h"
#include "core/tournament.h"

namespace quelna {

// Every player gets "first name surname"; women's surnames take the feminine ending.
void generateRandomNames(Tournament& t, Random& random);
// Teams "Ком.1".."Ком.N/4", four players each, drawn without replacement.
void generateRandomTeams(Tournament& t, Random& random);
// Points of every table of a seated round: one result in each band, summing to zero, in a random
// order of seats. Seats must be assigned (normalizeRounds) before.
void generateRandomResults(Tournament& t, int round, Random& random);
// Player i gets start number i (shown as i + 1).
void numberPlayersInOrder(Tournament& t);
// A registered test tournament as quelna-cli simulate starts one: random names (and teams), start
// numbers in slot order, unused teams dropped, the meetings of team-mates counted.
Tournament simulatedRegistration(int players, int rounds, bool teams, Random& random);

// The name tables the generator draws from, in UTF-8.
std::span<const std::string_view> surnameTable();
std::span<const std::string_view> maleNameTable();
std::span<const std::string_view> femaleNameTable();

} // namespace quelna
