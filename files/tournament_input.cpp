#include "files/tournament_input.h"

#include <vector>

#include "core/text.h"
#include "files/csv_encoding.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"

namespace quelna {

namespace {

// One wording wherever a number does not fit the record.
const std::string kBeyondRange = "beyond the range of numbers";

std::string readProblem(FileReadError error) {
    switch (error) {
    case FileReadError::None:
        break;
    case FileReadError::Missing:
        return "no such file";
    case FileReadError::NotRegular:
        return "not a regular file";
    case FileReadError::TooLarge:
        return "larger than " + std::to_string(kMaxTournamentFileBytes / (1024 * 1024)) +
               " MiB, so not a tournament file";
    case FileReadError::Unreadable:
        return "cannot be opened";
    }
    return {};
}

std::string fieldFault(ValueChange::Why why) {
    using Why = ValueChange::Why;
    switch (why) {
    case Why::NotWhole:
        return "is not a whole number";
    case Why::OutOfRange:
        return "is " + kBeyondRange;
    case Why::Dash:
        return "begins with a dash, not a minus sign";
    case Why::BlankAfterSign:
        return "has a blank between its sign and its digits";
    case Why::Empty:
        return "is empty";
    }
    return {};
}

// "line 7, ИО2: '5,5' is not a whole number"
std::string fieldText(const ValueChange& c) {
    return "line " + std::to_string(c.line) + ", " + c.column + ": '" + c.text + "' " +
           fieldFault(c.why);
}

// Data a seating would drop: refused, so a file is never silently cut back.
std::optional<std::string> droppedProblem(std::string_view bytes, const Tournament& raw) {
    const auto dropped = findDroppedRounds(raw, true);
    if (!dropped)
        return std::nullopt;
    const auto unread = findUnreadField(bytes, dropped->incompleteLine, dropped->round);
    return "round " + std::to_string(dropped->round + 1) + " is not complete (" +
           (unread ? fieldText(*unread) : "line " + std::to_string(dropped->incompleteLine)) +
           "), yet line " + std::to_string(dropped->dataLine) +
           " holds a table or points of round " + std::to_string(dropped->dataRound + 1) +
           "; seating would drop them, so nothing was written";
}

// Players placed by hand in the first round that is not complete must fit their tables, as the
// window allows them.
std::optional<std::string> handPlacementProblem(const Tournament& raw) {
    int round = 0;
    while (round < raw.roundCount && raw.isRoundComplete(round))
        ++round;
    if (round == raw.roundCount)
        return std::nullopt;
    const int p = firstMisplacedPlayer(raw, round);
    if (p < 0)
        return std::nullopt;
    return "table " + std::to_string(raw.tableAt(round, p) + 1) + " of round " +
           std::to_string(round + 1) + " has more than four players (line " +
           std::to_string(p + 2) + ")";
}

std::optional<std::string> valueProblem(std::string_view bytes, const Tournament& raw) {
    const std::vector<ValueChange> changes =
        findValueChanges(bytes, raw.playerCount, raw.roundCount);
    if (changes.empty())
        return std::nullopt;
    std::string text = "reading it would change these fields, so nothing was written:";
    for (const ValueChange& c : changes)
        text += "\n  " + fieldText(c);
    return text;
}

std::string extrasReason(const ExtrasProblem& p) {
    using Why = ExtrasProblem::Why;
    switch (p.why) {
    case Why::UnknownKind:
        return "is no ЗАМЕНА, ШТРАФ or ВЫБЫЛ line";
    case Why::Fields:
        return "has the wrong number of fields";
    case Why::NotNumber:
        return "holds a round, row or amount that is not a whole number";
    case Why::OutOfRange:
        return "holds a round, row or amount " + kBeyondRange;
    case Why::ResultOutOfRange:
        return "puts the result of round " + std::to_string(p.round + 1) + " " + kBeyondRange;
    case Why::NoSuchRound:
        return "names a round the file has no columns for";
    case Why::NoSuchRow:
        return "names a row beyond the player lines";
    case Why::Repeated:
        return "repeats a line above it";
    case Why::RoundNotSeated:
        return "belongs to a round that is not seated";
    case Why::CountedDiffers:
        return "makes the substitute count " + std::to_string(p.counted) + " in round " +
               std::to_string(p.round + 1) + ", yet line " + std::to_string(p.playerLine) +
               " holds " + std::to_string(p.fileValue) + " in ИО" + std::to_string(p.round + 1);
    }
    return {};
}

// Substitutes and penalties a seating would leave out of the file it writes, or count otherwise
// than the player lines say.
std::optional<std::string> extrasProblem(std::string_view bytes, const Tournament& raw) {
    constexpr std::size_t kNamed = 100; // a file of garbage is not listed line by line
    const ExtrasProblems problems = findExtrasProblems(bytes, raw, kNamed);
    if (problems.count == 0)
        return std::nullopt;
    std::string text =
        "these lines of the substitutes and penalties cannot be taken as they stand, so nothing "
        "was written:";
    for (const ExtrasProblem& p : problems.first)
        text += "\n  line " + std::to_string(p.line) + ": '" + p.text + "' " + extrasReason(p);
    if (problems.count > kNamed)
        text += "\n  and " + std::to_string(problems.count - kNamed) + " more";
    return text;
}

} // namespace

std::optional<TextEncoding> parseTextEncoding(std::string_view name) {
    if (name == "cp1251" || name == "windows-1251")
        return TextEncoding::Cp1251;
    if (name == "utf-8" || name == "utf8")
        return TextEncoding::Utf8;
    return std::nullopt;
}

TournamentInput openTournamentInput(const std::string& path, TextEncoding encoding) {
    TournamentInput input;
    std::string bytes;
    if (const FileReadError error = readTournamentFile(path, bytes); error != FileReadError::None) {
        input.refusal = "cannot read " + path + ": " + readProblem(error);
        return input;
    }
    if (encoding == TextEncoding::Auto && isUtf8TournamentCsv(bytes)) {
        input.refusal = path + ": its names look like UTF-8 text, not CP1251; give --encoding "
                               "utf-8 to read them as UTF-8 (or --encoding cp1251 to keep them)";
        return input;
    }
    if (encoding == TextEncoding::Utf8) {
        Utf8Conversion converted = utf8FileToCp1251(bytes);
        if (!converted.lossyLines.empty()) {
            input.refusal = path + ": line " + std::to_string(converted.lossyLines.front()) +
                            " holds characters CP1251 has not; reading it would turn them into "
                            "'?', so nothing was written";
            return input;
        }
        bytes = std::move(converted.bytes);
    }
    if (!isTournamentCsv(bytes)) {
        input.refusal = path + " is not a tournament file (its first line must begin with "
                               "МЕСТО;НОМЕР;ИМЯ;КОМАНДА)";
        return input;
    }
    if (const auto section = findSectionProblem(bytes)) {
        input.refusal = path + ": line " + std::to_string(section->line) +
                        (section->why == SectionProblem::Why::Utf8
                             ? ": the substitutes and penalties are UTF-8 text, not CP1251"
                             : ": the substitutes and penalties have line ends of CR alone, which "
                               "no reader takes; save the file with CR LF line ends");
        return input;
    }
    const CsvShape shape = measureTournamentCsv(bytes);
    if (auto problem = tournamentSizeProblem(shape.players, shape.rounds)) {
        input.refusal = path + ": " + *problem;
        return input;
    }
    Tournament raw(shape.players, shape.rounds);
    readTournamentCsv(raw, std::string_view(bytes));
    for (auto problem : {droppedProblem(bytes, raw), handPlacementProblem(raw),
                         valueProblem(bytes, raw), extrasProblem(bytes, raw)})
        if (problem) {
            input.refusal = path + ": " + *problem;
            return input;
        }
    input.raw = std::move(raw);
    return input;
}

} // namespace quelna
