#pragma once
// The one reader of quelna-cli's arguments. Every option is described once, in the table of
// options.cpp; each command names the ones it takes, and all get the same spellings (--name value,
// --name=value), checks and error texts.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quelna::cli {

enum class OptionKind {
    Flag,   // takes no value
    Count,  // a whole decimal number of 0 or more, at most `max` when that is set
    Text,   // any text, also empty
    File,   // a file or folder name: any text but empty
    Choice, // one of `choices`
};

struct OptionRule {
    std::string_view name; // with its dashes: "--players"
    OptionKind kind = OptionKind::Text;
    // Choice: the values named in the error text, '|'-separated ("fast|text"), and more spellings
    // taken without being named ("utf8|windows-1251").
    std::string_view choices = {};
    std::string_view alsoAccepted = {};
    long long max = -1; // Count: the largest value; -1 = no limit beyond the digits
};

// The option of that name in the table; nothing for a name no command takes.
[[nodiscard]] const OptionRule* findOption(std::string_view name);

struct CommandSyntax {
    std::string_view command;              // "seat", as the error texts name it
    std::vector<std::string_view> options; // the names it takes, each in the table
    int positionals = 0;                   // how many arguments that are not options it takes
    // When set, the first of them must be given; this is the error text when it is not.
    std::string_view missingPositional = {};
    // Options that must be given, each with the error text when it is not.
    std::vector<std::pair<std::string_view, std::string_view>> required = {};
};

// What was asked for: a run with these options, or the command's help, or the version.
struct Arguments {
    enum class Request { Run, Help, Version };
    Request request = Request::Run;
    std::vector<std::string> positionals;
    std::vector<std::pair<std::string, std::string>> given; // name and value, in order

    [[nodiscard]] bool has(std::string_view name) const;
    // The value given last (a repeated option replaces the earlier one).
    [[nodiscard]] std::optional<std::string> text(std::string_view name) const;
    [[nodiscard]] std::optional<long long> count(std::string_view name) const;
};

// A whole non-negative decimal number of at most 12 digits; nothing else is taken.
[[nodiscard]] std::optional<long long> parseCount(std::string_view text);

// Help when --help or -h comes first among the arguments, Version for --version, else Run.
[[nodiscard]] Arguments::Request requestOf(const std::vector<std::string>& args);

// Reads args[1..] (args[0] is the command) by the syntax. --help, -h or --version anywhere make
// the request that instead. Returns the error text for standard error, or nothing when usable.
[[nodiscard]] std::optional<std::string>
parseArguments(const CommandSyntax& syntax, const std::vector<std::string>& args, Arguments& out);

// Prints the usage for Help, the version for Version and returns 0; nothing for Run.
std::optional<int> answerRequest(Arguments::Request request, std::string_view usage);

// parseArguments, and the answer when the command is not to run: the error line (exit status 2),
// the usage or the version (0). Nothing when it is to run with `out`.
[[nodiscard]] std::optional<int> readArguments(const CommandSyntax& syntax,
                                               const std::vector<std::string>& args,
                                               std::string_view usage, Arguments& out);

} // namespace quelna::cli
