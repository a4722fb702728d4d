#include "files/tournament_extras.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <map>
#include <set>

#include "core/table_state.h"
#include "core/text.h"
#include "files/csv_fields.h"

namespace quelna {

namespace {

struct Words {
    std::string marker, substitute, penalty, left, untyped, text;
};

const Words& words() {
    static const Words w{utf8ToCp1251("ЗАМЕНЫ_И_ШТРАФЫ"), utf8ToCp1251("ЗАМЕНА"),
                         utf8ToCp1251("ШТРАФ"),           utf8ToCp1251("ВЫБЫЛ"),
                         utf8ToCp1251("НЕ_ВВЕДЕНО"),      utf8ToCp1251("НЕ_ЧИСЛО")};
    return w;
}

// A latest round with nothing typed yet is written as the plain format has always held it, all
// zeros, which a load takes as not typed again.
bool writtenAsZeros(const Tournament& t, int round) {
    const bool latest = round + 1 == t.roundCount || !t.isRoundComplete(round + 1);
    return latest && t.isRoundComplete(round) && isRoundUntyped(t, round);
}

bool hasTypedState(const Tournament& t) {
    for (int r = 0; r < t.roundCount; ++r)
        for (int p = 0; p < t.playerCount; ++p)
            if (t.entryAt(r, p) != PointsEntry::Number && !writtenAsZeros(t, r))
                return true;
    return false;
}

// The line's fields as csv_fields splits them, without the empty cells a spreadsheet pads a
// short line with; at least one.
std::vector<std::string> lineFields(std::string_view line) {
    std::vector<std::string> fields = splitCsvFields(line);
    while (fields.size() > 1 && fields.back().empty())
        fields.pop_back();
    return fields;
}

// Fields from `from` on as one text: a ';' typed in a name or reason ends up as ',' in the record.
std::string textFrom(const std::vector<std::string>& fields, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < fields.size(); ++i)
        text += (i > from ? ";" : "") + fields[i];
    return sanitizeName(text);
}

enum class Parsed { Whole, NotWhole, OutOfRange };

Parsed parseInt(std::string_view field, int& value) {
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (end != field.data() + field.size() || field.empty())
        return Parsed::NotWhole;
    return ec == std::errc::result_out_of_range ? Parsed::OutOfRange
           : ec == std::errc()                  ? Parsed::Whole
                                                : Parsed::NotWhole;
}

bool fits(long long v) {
    return v >= INT_MIN && v <= INT_MAX;
}

std::string num(int v) {
    return std::to_string(v);
}

} // namespace

bool isExtrasMarker(std::string_view line) {
    if (line == words().marker)
        return true;
    if (line.find(words().marker) == std::string_view::npos) // the common case, found cheaply
        return false;
    const std::vector<std::string> fields = lineFields(line);
    return fields.size() == 1 && fields[0] == words().marker;
}

std::string_view extrasSection(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (isExtrasMarker(line))
            return bytes;
    }
    return {};
}

std::string tournamentExtrasText(const Tournament& t, const std::vector<int>& rowOf) {
    const Adjustments& a = t.adjustments;
    if (a.empty() && !hasTypedState(t))
        return {};
    // Lines in the order of the rows they name, not of the record's slots: a file read and
    // written again comes out the same.
    struct Line {
        int round, row;
        std::string text;
    };
    std::vector<Line> substitutes, penalties, left;
    for (const auto& [key, s] : a.allSubstitutes()) {
        const auto [round, player] = key;
        substitutes.push_back({round, rowOf[player],
                               words().substitute + ';' + num(round + 1) + ';' +
                                   num(rowOf[player]) + ';' + num(t.pointsAt(round, player)) + ';' +
                                   num(s.countedResult) + ';' + sanitizeName(s.name)});
    }
    for (const auto& [key, list] : a.allPenalties())
        for (const Penalty& p : list)
            penalties.push_back({key.first, rowOf[key.second],
                                 words().penalty + ';' + num(key.first + 1) + ';' +
                                     num(rowOf[key.second]) + ';' + num(p.amount) + ';' +
                                     sanitizeName(p.reason)});
    for (const auto& [player, round] : a.allLeft())
        left.push_back(
            {0, rowOf[player], words().left + ';' + num(rowOf[player]) + ';' + num(round + 1)});
    // Cells not typed yet and typed text that is not a number: the points columns say 0 and the
    // leading number, which is all a reader of the player lines needs.
    std::vector<Line> typed;
    for (int r = 0; r < t.roundCount; ++r)
        for (int p = 0; p < t.playerCount && !writtenAsZeros(t, r); ++p) {
            const std::string where = ';' + num(r + 1) + ';' + num(rowOf[p]);
            if (t.entryAt(r, p) == PointsEntry::Untyped)
                typed.push_back({r, rowOf[p], words().untyped + where});
            else if (t.entryAt(r, p) == PointsEntry::Text)
                typed.push_back(
                    {r, rowOf[p], words().text + where + ';' + sanitizeName(t.typedTextAt(r, p))});
        }
    std::string text = words().marker + "\r\n";
    for (std::vector<Line>* lines : {&substitutes, &penalties, &left, &typed}) {
        // Stable: a seat's penalties keep the order they were given in.
        std::stable_sort(lines->begin(), lines->end(), [](const Line& x, const Line& y) {
            return std::pair(x.round, x.row) < std::pair(y.round, y.row);
        });
        for (const Line& l : *lines)
            text += l.text + "\r\n";
    }
    return text;
}

void forEachExtrasLine(std::string_view section, int players, int rounds,
                       const std::function<void(ExtrasLine&)>& use) {
    using Kind = ExtrasLine::Kind;
    using Problem = ExtrasLine::Problem;
    std::set<std::pair<int, int>> substituted; // (round, player)
    std::set<int> left;
    std::set<std::pair<int, int>> typed; // (round, player) of the typed-state lines
    int lineNumber = 0;
    while (!section.empty()) {
        const std::size_t end = section.find('\n');
        std::string_view text = section.substr(0, end);
        section.remove_prefix(end == std::string_view::npos ? section.size() : end + 1);
        ++lineNumber;
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (text.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        ExtrasLine e;
        e.line = lineNumber;
        e.text = text;
        const std::vector<std::string> f = lineFields(text);
        // Fields holding numbers, the fields the kind needs at least, and whether more may follow.
        std::vector<std::size_t> numbers;
        std::size_t needed = 0;
        bool moreAllowed = true;
        if (f[0] == words().substitute) {
            e.kind = Kind::Substitute;
            numbers = {1, 2, 3, 4};
            needed = 5; // the substitute's name may be empty
        } else if (f[0] == words().penalty) {
            e.kind = Kind::Penalty;
            numbers = {1, 2, 3};
            needed = 4; // the reason may be empty
        } else if (f[0] == words().left) {
            e.kind = Kind::Left;
            numbers = {1, 2};
            needed = 3;
            moreAllowed = false;
        } else if (f[0] == words().untyped) {
            e.kind = Kind::Untyped;
            numbers = {1, 2};
            needed = 3;
            moreAllowed = false;
        } else if (f[0] == words().text) {
            e.kind = Kind::Text;
            numbers = {1, 2};
            needed = 4;
        } else {
            use(e);
            continue;
        }
        int value[5] = {};
        if (f.size() < needed || (!moreAllowed && f.size() > needed))
            e.problem = Problem::Fields;
        for (std::size_t i : numbers) {
            if (e.problem != Problem::None)
                break;
            const Parsed parsed = parseInt(f[i], value[i]);
            if (parsed != Parsed::Whole)
                e.problem = parsed == Parsed::OutOfRange ? Problem::OutOfRange : Problem::NotNumber;
        }
        // Rounds and rows as the file writes them, 1-based.
        const int round = e.kind == Kind::Left ? value[2] : value[1];
        const int row = e.kind == Kind::Left ? value[1] : value[2];
        if (e.problem == Problem::None && (round < 1 || round > rounds))
            e.problem = Problem::NoSuchRound;
        if (e.problem == Problem::None && (row < 1 || row > players))
            e.problem = Problem::NoSuchRow;
        if (e.problem == Problem::None) {
            e.round = round - 1;
            e.player = row - 1;
            const bool first =
                e.kind == Kind::Substitute ? substituted.insert({e.round, e.player}).second
                : e.kind == Kind::Left     ? left.insert(e.player).second
                : e.kind == Kind::Penalty  ? true
                                           : typed.insert({e.round, e.player}).second;
            if (!first)
                e.problem = Problem::Repeated;
        }
        if (e.problem == Problem::None && e.kind == Kind::Substitute) {
            e.realResult = value[3];
            e.substitute = Substitute{textFrom(f, 5), value[4]};
        } else if (e.problem == Problem::None && e.kind == Kind::Penalty) {
            e.penalty = Penalty{value[3], textFrom(f, 4)};
        } else if (e.problem == Problem::None && e.kind == Kind::Text) {
            e.typedText = textFrom(f, 3);
        }
        use(e);
    }
}

std::optional<std::pair<int, int>> countedBeyondRange(const Tournament& t) {
    const Adjustments& a = t.adjustments;
    for (const auto& [key, list] : a.allPenalties()) {
        const auto [round, player] = key;
        const Substitute* s = a.substitute(round, player);
        long long counted = s ? s->countedResult : t.pointsAt(round, player);
        for (const Penalty& p : list)
            counted += p.amount;
        if (!fits(counted))
            return key;
    }
    return std::nullopt;
}

void readTournamentExtras(Tournament& t, std::string_view section) {
    Adjustments read;
    std::map<Adjustments::Key, int> realResults;
    std::map<Adjustments::Key, std::string> typedState; // text, or nothing for not typed
    forEachExtrasLine(section, t.playerCount, t.roundCount, [&](ExtrasLine& e) {
        if (!e.used())
            return;
        switch (e.kind) {
        case ExtrasLine::Kind::Substitute:
            read.setSubstitute(e.round, e.player, std::move(e.substitute));
            realResults[{e.round, e.player}] = e.realResult;
            break;
        case ExtrasLine::Kind::Penalty:
            read.addPenalty(e.round, e.player, std::move(e.penalty));
            break;
        case ExtrasLine::Kind::Left:
            read.setLeftFrom(e.player, e.round);
            break;
        case ExtrasLine::Kind::Untyped:
            typedState[{e.round, e.player}].clear();
            break;
        case ExtrasLine::Kind::Text:
            // A text that reads as a whole number after all is stored as that number.
            typedState[{e.round, e.player}] =
                e.typedText.empty() ? std::string(" ") : std::move(e.typedText);
            break;
        case ExtrasLine::Kind::Unknown:
            break;
        }
    });
    // The points columns hold what counted; the seat's table result is what the record keeps.
    // Rounds from the first that is not complete on are dropped with their entries when the
    // record is normalized; their points stay as the file has them, so that no check finds
    // results the file does not hold.
    int seated = 0;
    while (seated < t.roundCount && t.isRoundComplete(seated))
        ++seated;
    std::vector<Adjustments::Key> beyondRange;
    for (const auto& [key, list] : read.allPenalties()) {
        if (key.first >= seated)
            continue;
        long long sum = 0;
        for (const Penalty& p : list)
            sum += p.amount;
        const Substitute* s = read.substitute(key.first, key.second);
        const long long real = t.pointsAt(key.first, key.second) - sum;
        if (!fits(s ? s->countedResult + sum : real))
            beyondRange.push_back(key);
        else if (!s)
            t.pointsAt(key.first, key.second) = static_cast<int>(real);
    }
    for (const auto& [round, player] : beyondRange)
        read.setPenalties(round, player, {});
    for (const auto& [key, real] : realResults)
        if (key.first < seated)
            t.pointsAt(key.first, key.second) = real;
    for (const auto& [key, text] : typedState)
        if (key.first < seated)
            t.typePoints(key.first, key.second, text);
    t.adjustments = std::move(read);
}

} // namespace quelna
