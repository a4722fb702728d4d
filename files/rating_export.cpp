#include "files/rating_export.h"

#include <string_view>

#include "core/safe_write.h"
#include "core/standings.h"
#include "core/text.h"

namespace quelna {

namespace {

// The words of a name, blanks of any length between them; the portal splits on single spaces,
// so the name is written with exactly one.
std::vector<std::string> words(const std::string& name) {
    std::vector<std::string> out;
    std::string word;
    for (char c : name + ' ') {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                out.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    return out;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

bool roundHasResults(const Tournament& t, int round) {
    for (int p = 0; p < t.playerCount; ++p)
        if (t.pointsAt(round, p) != 0)
            return true;
    return false;
}

int gamesPlayed(const Tournament& t, int player) {
    int games = 0;
    for (int r = 0; r < t.currentRound; ++r)
        if (t.tableAt(r, player) >= 0 && !t.adjustments.substitute(r, player) &&
            roundHasResults(t, r))
            ++games;
    return games;
}

} // namespace

bool ratingExportText(const Tournament& t, std::string& utf8,
                      std::vector<RatingNameProblem>& problems) {
    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, t.roundCount, order, places);
    utf8 = "place,name,scores,games\n";
    problems.clear();
    int place = 1;
    for (int i = 0; i < t.playerCount; ++i) {
        const int p = order[i];
        const int total = t.runningTotal(p, t.roundCount);
        if (i > 0 && !allEqual && total != t.runningTotal(order[i - 1], t.roundCount))
            place = i + 1;
        const std::vector<std::string> w = words(cp1251ToUtf8(t.names[p]));
        if (w.size() != 2) {
            problems.push_back({i + 1, cp1251ToUtf8(t.names[p])});
            continue;
        }
        // Quotes do not help: spreadsheets take a quoted field's formula all the same.
        if (std::string_view("=+-@").find(w[0].front()) != std::string_view::npos) {
            problems.push_back({i + 1, cp1251ToUtf8(t.names[p]), RatingNameProblem::Why::Formula});
            continue;
        }
        utf8 += std::to_string(place) + ',' + csvField(w[0] + ' ' + w[1]) + ',' +
                std::to_string(total) + ".0," + std::to_string(gamesPlayed(t, p)) + '\n';
    }
    return problems.empty();
}

bool exportRatingFile(const Tournament& t, const std::string& path,
                      std::vector<RatingNameProblem>& problems, std::string& error) {
    std::string text;
    if (!ratingExportText(t, text, problems))
        return false;
    return safeWriteFile(path, text, &error);
}

} // namespace quelna
