#include "cli/options.h"

#include <algorithm>
#include <iostream>

#include "quelna_version.h"

namespace quelna::cli {

namespace {

std::vector<std::string_view> split(std::string_view list) {
    std::vector<std::string_view> parts;
    while (!list.empty()) {
        const std::size_t bar = list.find('|');
        parts.push_back(list.substr(0, bar));
        list = bar == std::string_view::npos ? std::string_view() : list.substr(bar + 1);
    }
    return parts;
}

// "fast or text"; "a, b or c".
std::string spelledChoices(std::string_view list) {
    const std::vector<std::string_view> choices = split(list);
    std::string text;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (i > 0)
            text += i + 1 == choices.size() ? " or " : ", ";
        text += choices[i];
    }
    return text;
}

bool isChoice(const OptionRule& rule, std::string_view value) {
    for (std::string_view list : {rule.choices, rule.alsoAccepted})
        for (std::string_view choice : split(list))
            if (choice == value)
                return true;
    return false;
}

// Why the value does not fit the option; nothing when it does.
std::optional<std::string> valueProblem(const OptionRule& rule, const std::string& value) {
    const std::string name(rule.name);
    switch (rule.kind) {
    case OptionKind::Flag:
    case OptionKind::Text:
        break;
    case OptionKind::File:
        if (value.empty())
            return name + " needs a file name";
        break;
    case OptionKind::Choice:
        if (!isChoice(rule, value))
            return name + " must be " + spelledChoices(rule.choices) + ", not '" + value + "'";
        break;
    case OptionKind::Count: {
        const std::optional<long long> number = parseCount(value);
        if (rule.max >= 0 && (!number || *number > rule.max))
            return name + " must be from 0 to " + std::to_string(rule.max) + ", not '" + value +
                   "'";
        if (!number)
            return "option " + name + " needs a whole number of 0 or more, not '" + value + "'";
        break;
    }
    }
    return std::nullopt;
}

// Every option of every command.
constexpr OptionRule kOptions[] = {
    {"--players", OptionKind::Count},
    {"--rounds", OptionKind::Count},
    {"--teams", OptionKind::Flag},
    {.name = "--seed", .kind = OptionKind::Count, .max = 4294967295},
    {"--exhaustive-variants", OptionKind::Count},
    {"--random-variants", OptionKind::Count},
    {"--exhaustive-seconds", OptionKind::Count},
    {"--random-seconds", OptionKind::Count},
    {"--fixed-tables", OptionKind::Count},
    {"--overlap-tables", OptionKind::Count},
    {.name = "--search", .kind = OptionKind::Choice, .choices = "fast|text"},
    {"--fewest-repeats", OptionKind::Flag},
    {.name = "--plan-ahead", .kind = OptionKind::Choice, .choices = "on|off"},
    {.name = "--format", .kind = OptionKind::Choice, .choices = "text|json"},
    {"--out", OptionKind::File},
    // auto: as when not given, CP1251 unless the names look like UTF-8.
    {.name = "--encoding",
     .kind = OptionKind::Choice,
     .choices = "utf-8|cp1251",
     .alsoAccepted = "utf8|windows-1251|auto"},
    {"--title", OptionKind::Text},
    {"--host", OptionKind::Text},
    {.name = "--port", .kind = OptionKind::Count, .max = 65535},
};

} // namespace

const OptionRule* findOption(std::string_view name) {
    for (const OptionRule& rule : kOptions)
        if (rule.name == name)
            return &rule;
    return nullptr;
}

bool Arguments::has(std::string_view name) const {
    return std::any_of(given.begin(), given.end(), [&](const auto& g) { return g.first == name; });
}

std::optional<std::string> Arguments::text(std::string_view name) const {
    for (auto g = given.rbegin(); g != given.rend(); ++g)
        if (g->first == name)
            return g->second;
    return std::nullopt;
}

std::optional<long long> Arguments::count(std::string_view name) const {
    const std::optional<std::string> value = text(name);
    return value ? parseCount(*value) : std::nullopt;
}

std::optional<long long> parseCount(std::string_view text) {
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

Arguments::Request requestOf(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h")
            return Arguments::Request::Help;
        if (a == "--version")
            return Arguments::Request::Version;
    }
    return Arguments::Request::Run;
}

std::optional<std::string> parseArguments(const CommandSyntax& syntax,
                                          const std::vector<std::string>& args, Arguments& out) {
    out = Arguments();
    out.request = requestOf(args);
    if (out.request != Arguments::Request::Run)
        return std::nullopt;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        if (name.rfind("--", 0) != 0) {
            if (static_cast<int>(out.positionals.size()) >= syntax.positionals)
                return "unexpected argument '" + name + "'";
            out.positionals.push_back(name);
            continue;
        }
        std::optional<std::string> value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionRule* rule = findOption(name);
        if (!rule ||
            std::find(syntax.options.begin(), syntax.options.end(), name) == syntax.options.end())
            return "unknown option '" + name + "' for " + std::string(syntax.command);
        if (rule->kind == OptionKind::Flag) {
            if (value)
                return name + " takes no value";
            value.emplace();
        } else if (!value) {
            if (i + 1 >= args.size())
                return "option " + name + " needs a value";
            value = args[++i];
        }
        if (auto problem = valueProblem(*rule, *value))
            return problem;
        out.given.emplace_back(std::move(name), std::move(*value));
    }
    if (!syntax.missingPositional.empty() && out.positionals.empty())
        return std::string(syntax.missingPositional);
    for (const auto& [name, missing] : syntax.required)
        if (!out.has(name))
            return std::string(missing);
    return std::nullopt;
}

std::optional<int> answerRequest(Arguments::Request request, std::string_view usage) {
    switch (request) {
    case Arguments::Request::Run:
        return std::nullopt;
    case Arguments::Request::Help:
        std::cout << usage;
        break;
    case Arguments::Request::Version:
        std::cout << "quelna-cli " << kVersion << '\n';
        break;
    }
    return 0;
}

std::optional<int> readArguments(const CommandSyntax& syntax, const std::vector<std::string>& args,
                                 std::string_view usage, Arguments& out) {
    if (auto error = parseArguments(syntax, args, out)) {
        std::cerr << "quelna-cli: " << *error << '\n';
        return 2;
    }
    return answerRequest(out.request, usage);
}

} // namespace quelna::cli
