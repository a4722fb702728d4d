#pragma once
// The commands of quelna-cli, one per file. Each takes the whole argument list, args[0] being its
// own name, and returns the exit status its --help names.
#include <string>
#include <string_view>
#include <vector>

namespace quelna::cli {

// Plays a whole test tournament. 0 seated, 1 a round without a seating, 2 bad usage, 3 no write.
int runSimulateCommand(const std::vector<std::string>& args);
// Seats the next round of a saved tournament. 0 seated, 1 no seating found, 2 bad usage or input,
// 3 could not write or the file is in use by another run.
int runSeatCommand(const std::vector<std::string>& args);
// The players' pages of a saved tournament as files. 0 written, 2 bad usage or input, 3 the
// folder cannot be written.
int runHtmlCommand(const std::vector<std::string>& args);
// The players' pages on the web, published anew whenever the file changes; runs until Ctrl+C or
// SIGTERM. 0 stopped, 2 bad usage or input, 3 the port cannot be opened.
int runServeCommand(const std::vector<std::string>& args);
// A saved tournament's results for the rating portal. 0 written, 2 bad usage or input (names that
// are not two words included), 3 the file cannot be written.
int runExportRatingCommand(const std::vector<std::string>& args);

// A referee's check of a saved tournament. 0 nothing breaks a rule, 1 something does, 2 bad usage
// or a file it refuses.
int runCheckCommand(const std::vector<std::string>& args);

// The usage of quelna-cli as a whole, which simulate and seat also answer --help with.
extern const std::string_view kUsage;

} // namespace quelna::cli
