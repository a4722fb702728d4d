#pragma once
// What simulate and seat share: their options, the size check, the engine's settings from the
// options, the seating of one round and its report line.
#include <cstdint>
#include <optional>
#include <string>

#include "cli/options.h"
#include "core/random.h"
#include "seating/seat_next_round.h"
#include "core/tournament.h"
#include "files/tournament_input.h"

namespace quelna::cli {

constexpr int kExitSeated = 0;
constexpr int kExitNoSeating = 1;
constexpr int kExitUsage = 2;
constexpr int kExitWrite = 3;

// Prints "quelna-cli: message" on standard error and returns the status.
int fail(const std::string& message, int status = kExitUsage);
int failWrite(const std::string& target, const std::string& reason);

struct Options {
    std::string input;
    std::optional<std::string> out;
    std::optional<long long> players;
    std::optional<long long> rounds;
    bool teams = false;
    std::optional<long long> seed;
    PhaseLimits limits;
    long long fixedTables = 0;
    long long overlapTables = 0;
    ExhaustiveMethod search = ExhaustiveMethod::Fast;
    bool fewestRepeats = false;
    bool planAhead = true;
    TextEncoding encoding = TextEncoding::Auto;
};

// The options both take, followed by those of the one command.
[[nodiscard]] CommandSyntax seatingSyntax(std::string_view command,
                                          std::vector<std::string_view> ownOptions);

// The options as parsed; those not given keep their defaults.
[[nodiscard]] Options seatingOptions(const Arguments& a);

[[nodiscard]] std::optional<std::string> checkSize(long long players, long long rounds,
                                                   const Options& o);

// The run's seed: --seed, or the clock.
[[nodiscard]] std::uint32_t seedOf(const Options& o);

// The report line of a round; with planning it says how many following rounds were shown seatable.
void printReport(const Tournament& t, int round, const SeatingOutcome& outcome, bool planAhead);

// The next round seated with the options, drawing from `random`; when it is proven impossible and
// the run asks for it, the one with the fewest repeat meetings.
SeatingOutcome seatNextRound(Tournament& t, const Options& o, Random& random);

} // namespace quelna::cli
